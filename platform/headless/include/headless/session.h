// One run of a program on the headless platform, driven by a test the way
// a user drives the real program: click a named button, pick a list entry,
// type, answer the message box, let time pass.
//
// The program runs on its own thread, in lockstep with the test: exactly one
// of the two runs at a time. Every action hands the program its turn and
// returns when the program is idle again (waiting in a message loop, with no
// event due at the current virtual time), has a message box open, or ended.
// Reading controls between actions is therefore safe.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "headless/machine.h"
#include "platform/services.h"

namespace headless {

struct BoxRecord {
    Text text;
    Text caption;
    platform::Icon icon;
    platform::Buttons buttons;
    int defaultButton;
    std::optional<platform::Answer> answer;
};

class HeadlessServices;

class Session {
public:
    explicit Session(Machine& machine);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the program and waits until it is idle.
    void start(std::function<int(platform::Services&)> programMain);
    bool running() const;
    int exitCode() const { return exitCode_; }
    Machine& machine() { return machine_; }
    platform::Services& services();

    // The newest live window made from the form of this name, or nullptr.
    platform::Window* window(const std::string& formName) const;
    platform::Window& mustWindow(const std::string& formName) const;
    template <class T>
    T& control(const std::string& formName, const std::string& controlName) const {
        return mustWindow(formName).get<T>(controlName);
    }

    // --- user actions (each fails with std::logic_error when a user could
    // not do it: control hidden or disabled, window behind a modal one) ---
    void click(const std::string& formName, const std::string& control);
    // Picks an entry; with dropDown the list drops down first (DroppingDown,
    // pick, Picked, ClosedUp), without it the pick comes from the keyboard.
    void pick(const std::string& formName, const std::string& combo, int index,
              bool dropDown = true);
    // Drops the list down and closes it again without a pick.
    void dropDown(const std::string& formName, const std::string& combo);
    // Types text key by key (KeyPressed for each, the input rules of the box).
    void type(const std::string& formName, const std::string& edit, const Text& text);
    void pressKey(const std::string& formName, const std::string& edit, int key);
    // Replaces an edit box's text as a paste would (no key filtering).
    void paste(const std::string& formName, const std::string& edit, const Text& text);
    // The window's close box.
    void closeWindow(const std::string& formName);
    // Lets virtual time pass; timers, serial bytes and world events run.
    void advance(int milliseconds);
    // Runs code on the program's thread, as an event would.
    void onProgramThread(std::function<void()> fn);

    // --- message boxes -------------------------------------------------
    const std::vector<BoxRecord>& boxes() const { return boxes_; }
    // The message box waiting for an answer, or nullptr.
    const BoxRecord* openBox() const;
    void answer(platform::Answer a);
    // Answers the next box(es) without stopping for the test.
    void queueAnswer(platform::Answer a) { queued_.push_back(a); }

    // Runs on the program's thread whenever the program lets pending events
    // run once (Ui::processEvents).
    std::function<void()> onProcessEvents;

    // --- used by the backend on the program's thread ----------------------
    void waitForTest();  // hands the turn to the test until it acts
    platform::Answer showBox(BoxRecord box);
    void takePosted(std::deque<std::function<void()>>& into);
    bool hasPosted() const { return !posted_.empty(); }
    int64_t advanceTarget = -1;  // micros; -1: no advance pending
    int modalDepth = 0;

private:
    void runOnProgram(std::function<void()> fn);
    void checkUsable(const std::string& formName, const std::string& control) const;
    void programThread(std::function<int(platform::Services&)> programMain);

    Machine& machine_;
    std::unique_ptr<HeadlessServices> services_;
    std::vector<BoxRecord> boxes_;
    std::deque<platform::Answer> queued_;
    int boxDepth_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable turnChanged_;
    bool programTurn_ = false;
    bool finished_ = false;
    bool aborting_ = false;
    int exitCode_ = 0;
    std::exception_ptr failure_;
    std::deque<std::function<void()>> posted_;
    std::thread thread_;
};

// Thrown on the program's thread to end the program (Processes::exit).
struct ProgramExit {
    int code;
};

}  // namespace headless
