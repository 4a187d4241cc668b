// A fresh console on the headless backend for each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "console/ovcrt.h"
#include "platform/platform.h"

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ovcrt::startUp();
        ovcrt::clearScreen();
    }
    // The row of the console's grid, without trailing blanks.
    static std::string row(int r) {
        std::string s;
        for (int c = 0; c < ovcrt::kColumns; ++c) s += static_cast<char>(ovcrt::cellCharacter(c, r));
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
    // The row as the window shows it.
    static std::string shown(int r) {
        std::string s = platform::screenRow(r);
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
    static void post(platform::MessageKind kind, std::uint32_t key, std::uint8_t modifiers = 0) {
        platform::postMessage(platform::Message{kind, key, modifiers});
    }
    static std::string drain() {
        std::string codes;
        while (ovcrt::keyPressed()) codes += static_cast<char>(ovcrt::readKey());
        return codes;
    }
};
