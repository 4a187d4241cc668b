#include <gtest/gtest.h>

#include "console_fixture.h"

using ovcrt::Cursor;

class Screen : public ConsoleTest {};

TEST_F(Screen, WritingFollowsTheControlCodes) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> rows;  // first rows of the grid
        Cursor cursor;
    };
    const std::string eighty(80, 'x');
    const Case cases[] = {
        {"plain", "abc", {"abc"}, {3, 0}},
        {"80 then CR LF takes one row", eighty + "\r\nb", {eighty, "b"}, {1, 1}},
        {"81st goes to the next row", eighty + "y", {eighty, "y"}, {1, 1}},
        {"cursor may stand past the last column", eighty, {eighty}, {80, 0}},
        {"backspace blanks the cell", "abc\b\bd", {"ad"}, {2, 0}},
        {"backspace at column 0 does nothing", "\bab", {"ab"}, {2, 0}},
        {"backspace never goes to the row above", "a\r\n\b", {"a"}, {0, 1}},
        {"tab and other controls are ignored", "a\tb\x01\x1b" "c", {"abc"}, {3, 0}},
        {"CR returns to column 0", "abc\rX", {"Xbc"}, {1, 0}},
        {"LF alone also starts at column 0", "ab\ncd", {"ab", "cd"}, {2, 1}},
        {"bell changes nothing", "a\x07" "b", {"ab"}, {2, 0}},
        {"Windows-1252 letters are stored as bytes", "\xE7\xE3o", {"\xE7\xE3o"}, {3, 0}},
    };
    for (const auto& c : cases) {
        SetUp();
        ovcrt::writeChars(c.text);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            EXPECT_EQ(row(static_cast<int>(r)), c.rows[r]) << c.name;
            EXPECT_EQ(shown(static_cast<int>(r)), c.rows[r]) << c.name << " (drawn)";
        }
        EXPECT_EQ(ovcrt::cursor().column, c.cursor.column) << c.name;
        EXPECT_EQ(ovcrt::cursor().row, c.cursor.row) << c.name;
    }
}

TEST_F(Screen, ALineFeedOnTheLastRowScrollsInTheCurrentColours) {
    for (int i = 1; i <= 25; ++i) ovcrt::writeChars("linha " + std::to_string(i) + "\r\n");
    // 25 line ends from row 1: row 1 is lost, the last row is blank.
    EXPECT_EQ(row(0), "linha 2");
    EXPECT_EQ(row(23), "linha 25");
    EXPECT_EQ(row(24), "");
    EXPECT_EQ(ovcrt::cursor().row, 24);
    EXPECT_EQ(shown(0), "linha 2");
    EXPECT_EQ(shown(23), "linha 25");
    ovcrt::setTextAttr(0x1E);
    ovcrt::writeChars("\n");
    EXPECT_EQ(ovcrt::cellAttribute(0, 24), 0x1E);
    EXPECT_EQ(ovcrt::cellAttribute(0, 23), 0x0F);
    EXPECT_EQ(shown(22), "linha 25");
}

TEST_F(Screen, The81stCharacterOnTheLastRowScrollsFirst) {
    ovcrt::gotoXY(1, 25);
    ovcrt::writeChars(std::string(80, 'z') + "!");
    EXPECT_EQ(row(23), std::string(80, 'z'));
    EXPECT_EQ(row(24), "!");
    EXPECT_EQ(shown(24), "!");
}

TEST_F(Screen, GotoXYClampsToTheGrid) {
    const struct {
        int column, row, x, y;
    } cases[] = {{0, 0, 0, 0}, {200, 200, 79, 24}, {10, 10, 9, 9}, {-5, 26, 0, 24}, {80, 1, 79, 0}};
    for (const auto& c : cases) {
        ovcrt::gotoXY(c.column, c.row);
        EXPECT_EQ(ovcrt::cursor().column, c.x);
        EXPECT_EQ(ovcrt::cursor().row, c.y);
    }
}

TEST_F(Screen, ClearScreenBlanksInTheCurrentColoursAndHomesTheCursor) {
    ovcrt::writeChars("texto\r\nmais");
    ovcrt::setTextAttr(0x4E);
    ovcrt::clearScreen();
    EXPECT_EQ(row(0), "");
    EXPECT_EQ(shown(0), "");
    EXPECT_EQ(ovcrt::cellAttribute(79, 24), 0x4E);
    EXPECT_EQ(ovcrt::cursor().column, 0);
    EXPECT_EQ(ovcrt::cursor().row, 0);
}

TEST_F(Screen, WakeUpMessagesChangeNothingAndQueueNoKey) {
    ovcrt::writeChars("fala");
    platform::postMessage(platform::Message{platform::MessageKind::Private, 0, 0, 0, 0, 0, 0, 1123});
    platform::postMessage(platform::Message{platform::MessageKind::Private, 0, 0, 0, 0, 0, 0, 2980});
    EXPECT_FALSE(ovcrt::keyPressed());
    EXPECT_EQ(row(0), "fala");
}

TEST_F(Screen, StandardOutputIsTheConsole) {
    std::cout << "um " << 2 << std::endl << "tres";
    EXPECT_EQ(row(0), "um 2");
    EXPECT_EQ(row(1), "tres");
}

TEST_F(Screen, StandardInputReadsALineTypedWithEcho) {
    for (char c : std::string("oi\b!"))
        post(platform::MessageKind::Char, static_cast<std::uint8_t>(c));
    post(platform::MessageKind::Char, 13);
    EXPECT_EQ(ovcrt::readStandardLine(), "o!");
    EXPECT_EQ(row(0), "o!");
    EXPECT_EQ(ovcrt::cursor().row, 1);
}
