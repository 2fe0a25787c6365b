#include "config/itemtext.h"
#include "config/numtext.h"

#include <gtest/gtest.h>

#include <functional>

namespace varnet {
namespace {

TEST(ItemReaderTest, ReadsQuotedUnquotedAndNumbersAcrossLineEnds)
{
    ItemReader in("\"a, b\",  plain text ,\"two\r\nlines\"\r\n-5,\t300\n.25,-1.5E-07,2.5\r\n\"tail\" junk,7");
    EXPECT_EQ((std::vector{in.readString(), in.readString(), in.readString()}),
              (std::vector<std::string>{"a, b", "plain text", "two\r\nlines"}));
    EXPECT_EQ((std::vector{in.readInteger(), in.readInteger()}), (std::vector<Integer>{-5, 300}));
    EXPECT_EQ((std::vector{in.readSingle(), in.readSingle()}), (std::vector{0.25f, -1.5E-07f}));
    EXPECT_EQ(in.readByte(), 2);  // a fraction rounds, halves to even
    EXPECT_EQ((std::vector{in.peek(), in.readString()}), (std::vector<std::string>{"tail", "tail"}));
    EXPECT_EQ((std::tuple{in.readByte(), in.atEnd()}), (std::tuple{7, true}));
    EXPECT_THROW(in.readString(), ItemError);
}

TEST(ItemReaderTest, ConversionFaultsCarryTheirDescriptions)
{
    const auto description = [](const std::string& text, auto read) {
        ItemReader in(text);
        try {
            read(in);
        } catch (const ItemError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const auto byte = [](ItemReader& in) { in.readByte(); };
    const auto integer = [](ItemReader& in) { in.readInteger(); };
    const auto single = [](ItemReader& in) { in.readSingle(); };
    const std::tuple<const char*, std::function<void(ItemReader&)>, const char*> cases[] = {
        {"256", byte, "Overflow"},         {"-1", byte, "Overflow"},     {"32768", integer, "Overflow"},
        {"1e300", single, "Overflow"},     {"abc", integer, "Type mismatch"}, {"", integer, "Input past end of file"},
        {",", integer, "Type mismatch"},   {"1,5", single, "no error"},  {"1 2", integer, "Type mismatch"}};
    for (const auto& [text, read, expected] : cases)
        EXPECT_EQ(description(text, read), expected) << text;
}

TEST(ItemWriterTest, StatementsAndNumbersAsTheFileHoldsThem)
{
    ItemWriter out;
    out.string("Name").integer(-7).single(0.1f).single(-999.5f).single(1E-10f).end();
    out.real(1234.5678901234).single(1.0f / 3).single(16777217.0f).single(0.00001f).end();
    out.line("end");
    EXPECT_EQ(out.data(),
              "\"Name\",-7,0.1,-999.5,1E-10\r\n"
              "1234.5678901234,0.3333333,1.677722E+07,1E-05\r\n"
              "\"end\"\r\n");
    // 15 digits drop a sum's binary rounding, which a 16th would show.
    EXPECT_EQ((std::vector<std::string>{formatSingle(-0.0f), formatSingle(123456.7f), formatDouble(0.1 + 0.2),
                                        formatDouble(0.7 + 0.1), strSingle(0.5f), strSingle(-2.25f), strInteger(0),
                                        strInteger(-7)}),
              (std::vector<std::string>{"0", "123456.7", "0.3", "0.8", " 0.5", "-2.25", " 0", "-7"}));
    EXPECT_EQ((std::vector{zeroPadded(7, 3), zeroPadded(-12, 3), zeroPadded(1234, 3)}),
              (std::vector<std::string>{"007", "-012", "1234"}));
}

} // namespace
} // namespace varnet
