// The avionics encodings, once for every module dialog.

#include "gauges/radiocodecs.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(RadioCodecs, ComNavAndAdfFrequencies)
{
    EXPECT_EQ(ComNavWord("118,000"), 18000);
    EXPECT_EQ(ComNavWord("118000"), 18000);
    EXPECT_EQ(ComNavWord(" 138,975 "), 38975);
    EXPECT_EQ(ComNavWord("25"), 25);
    // Not a whole number, or no 16-bit word: refused.
    for (const char* bad : {"", "118.0", "abc", "-5", "100000", "170000"})
        EXPECT_FALSE(ComNavWord(bad)) << bad;
    EXPECT_EQ(ComNavText(21000), "121,000");
    EXPECT_EQ(ComNavText(8000), "108,000");
    EXPECT_EQ(KilohertzText(25), "000,025");

    EXPECT_EQ(AdfWord("100.0"), 1000);
    EXPECT_EQ(AdfWord("999.9"), 9999);
    EXPECT_EQ(AdfWord("1700"), 17000);
    for (const char* bad : {"", "x", "-1", "6554"})
        EXPECT_FALSE(AdfWord(bad)) << bad;
    EXPECT_EQ(AdfText(8505), "850.5");
    EXPECT_EQ(AdfText(17000), "1700.0");
    EXPECT_EQ(AdfText(1000), "100.0");
}

TEST(RadioCodecs, TransponderCodesAndReplyDigits)
{
    testing::ScriptedMessages boxes;
    EXPECT_EQ(TransponderWord("7777", CodePacking::Octal), 4095);
    EXPECT_EQ(TransponderWord("1200", CodePacking::Octal), 640);
    EXPECT_EQ(TransponderWord("1200", CodePacking::Nibbles), 0x1200);
    boxes.expectOk(kCodeNotFourDigits);
    EXPECT_FALSE(TransponderWord("128", CodePacking::Octal));
    boxes.expectOk(kCodeNotOctal);
    EXPECT_FALSE(TransponderWord("1284", CodePacking::Nibbles));
    EXPECT_EQ(NibbleDigits(0x12, 0x00), "1200");
    EXPECT_EQ(NibbleDigits(0x77, 0x77), "7777");
}

} // namespace
} // namespace varnet
