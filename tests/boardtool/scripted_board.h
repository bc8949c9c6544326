// A scripted far end of the serial line: it records every open, close and
// write the tool makes, with the virtual time and the baud rate, sends the
// tool exactly the bytes a test asks for, when it asks, and can refuse opens.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/machine.h"

struct ScriptedBoard : headless::SerialDevice {
    enum class What { Opened, Refused, Closed, Written };
    struct Event {
        What what;
        int64_t atMicros;
        int baud;
        std::string bytes;  // Written only
    };
    // One command as it crossed the line: pieces written back to back at the
    // same time and rate, up to and including CR LF.
    struct Command {
        int64_t atMicros;
        int baud;
        std::string text;  // without CR LF
    };

    explicit ScriptedBoard(headless::Machine& m) : machine(m) {}

    headless::Machine& machine;
    std::vector<Event> events;
    int refuseOpens = 0;  // the next this many opens are refused
    headless::SerialLink* link = nullptr;
    std::function<void()> onClosed;  // runs when the PC closes the port

    bool opened(headless::SerialLink& l, int baud) override {
        if (refuseOpens > 0) {
            --refuseOpens;
            events.push_back({What::Refused, machine.nowMicros, baud, {}});
            return false;
        }
        link = &l;
        events.push_back({What::Opened, machine.nowMicros, baud, {}});
        return true;
    }
    void closed() override {
        events.push_back({What::Closed, machine.nowMicros, 0, {}});
        if (onClosed) onClosed();
    }
    void written(headless::SerialLink&, const std::string& bytes, int baud) override {
        events.push_back({What::Written, machine.nowMicros, baud, bytes});
    }

    // Puts bytes on the line now, to reach the PC from atMicros on: the
    // first byte is complete ten bit times after it, and so on. Whether the
    // tool is busy then changes nothing on the line. The port must be open.
    void inject(const std::string& bytes, int64_t atMicros) {
        if (!link) {
            ADD_FAILURE() << "the port was never opened";
            return;
        }
        link->toPc(bytes, atMicros > machine.nowMicros ? atMicros - machine.nowMicros : 0);
    }

    size_t mark() const { return events.size(); }

    // The events from a mark on, without the writes.
    std::vector<Event> portEventsSince(size_t from) const {
        std::vector<Event> out;
        for (size_t i = from; i < events.size(); ++i)
            if (events[i].what != What::Written) out.push_back(events[i]);
        return out;
    }

    // The writes from a mark on, joined into commands. A command whose pieces
    // went out at different times or rates is split where they differ, so it
    // shows up as two broken commands.
    std::vector<Command> commandsSince(size_t from) const {
        std::vector<Command> out;
        bool open = false;
        for (size_t i = from; i < events.size(); ++i) {
            const Event& e = events[i];
            if (e.what != What::Written) continue;
            if (!open || out.back().atMicros != e.atMicros || out.back().baud != e.baud) {
                out.push_back({e.atMicros, e.baud, {}});
                open = true;
            }
            out.back().text += e.bytes;
            const std::string& t = out.back().text;
            if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) {
                out.back().text.resize(t.size() - 2);
                open = false;
            }
        }
        return out;
    }
};
