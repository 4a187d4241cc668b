#include "platform/cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, PortugueseLettersAndTheHighRowRoundTrip) {
    const std::string utf8 = "Ouça, não, você, €, “aspas”, —";
    const std::string w = cp1252::fromUtf8(utf8);
    EXPECT_EQ(w[2], '\xE7');
    EXPECT_EQ(w.find('\x80'), w.find("\x80"));
    EXPECT_NE(w.find('\x93'), std::string::npos);
    EXPECT_EQ(cp1252::toUtf8(w), utf8);
}

TEST(Cp1252, CharactersTheCodePageLacksAndBrokenBytesBecomeTheReplacement) {
    EXPECT_EQ(cp1252::fromUtf8("a\xE2\x88\x9E" "b"), "a?b");  // ∞
    EXPECT_EQ(cp1252::fromUtf8("a\xC3"), "a?");              // cut sequence
    EXPECT_EQ(cp1252::fromUtf8("\xFF" "x", '#'), "#x");
}
