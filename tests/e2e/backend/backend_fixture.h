// The tests run inside the Windows backend's program entry (see main.cpp),
// so the services are the real ones a program gets.
#pragma once

#include <gtest/gtest.h>

#include "platform/services.h"

extern platform::Services* TestServices;

class Backend : public ::testing::Test {
protected:
    platform::Services* s = TestServices;

    // A fresh folder for one test under the current directory.
    platform::Text Scratch(const char* name) {
        platform::Text base = s->files().runDirectory() + "\\scratch";
        s->files().createFolder(base);
        platform::Text dir = base + "\\" + name;
        s->files().createFolder(dir);
        return dir;
    }

    static bool WriteFile(platform::Files& f, const platform::Text& path, const std::string& bytes) {
        auto w = f.create(path);
        return w && w->write(bytes.data(), bytes.size());
    }
};
