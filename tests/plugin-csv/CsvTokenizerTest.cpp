#include "plugins/csv/CsvTokenizer.h"
#include "plugins/csv/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Tokens as short strings: i:5, r:1.5, s:text, w:word, c:, , nl, bad.
std::vector<std::string> Tokens(const std::string &text, bool doubleByte = false)
{
    TCsvTokenizer tokenizer(text.data(), text.size(), doubleByte);
    std::vector<std::string> out;
    for (;;) {
        const TCsvToken t = tokenizer.Next();
        switch (t.Kind) {
        case TCsvTokenKind::EndOfFile:
            return out;
        case TCsvTokenKind::LineEnd:
            out.push_back("nl");
            break;
        case TCsvTokenKind::String:
            out.push_back("s:" + std::string(t.Text));
            break;
        case TCsvTokenKind::Integer:
            out.push_back("i:" + std::to_string(t.Integer));
            break;
        case TCsvTokenKind::Real:
            out.push_back("r:" + std::to_string(t.Real) + "/" + std::to_string(t.Integer));
            break;
        case TCsvTokenKind::Word:
            out.push_back("w:" + std::string(t.Text));
            break;
        case TCsvTokenKind::Character:
            out.push_back(std::string("c:") + t.Character);
            break;
        case TCsvTokenKind::Invalid:
            out.push_back("bad");
            break;
        }
    }
}

using V = std::vector<std::string>;

} // namespace

TEST(CsvTokenizer, IntegersCommasAndWhiteSpace)
{
    EXPECT_EQ(Tokens("1, 2 ,x\n"), (V{"i:1", "c:,", "i:2", "c:,", "w:x", "nl"}));
    EXPECT_EQ(Tokens("\t 12345678901234567890"), (V{"i:-6101065172474983726"})); // mod 2^64
    EXPECT_EQ(Tokens("-5 +7 - 3"), (V{"i:-5", "i:7", "c:-", "i:3"}));
    EXPECT_EQ(Tokens("65541"), (V{"i:65541"}));
}

TEST(CsvTokenizer, HexadecimalAfterTheFirstDigit)
{
    EXPECT_EQ(Tokens("0x1F,0XfF,0x"), (V{"i:31", "c:,", "i:255", "c:,", "i:0"}));
    EXPECT_EQ(Tokens("0x1g"), (V{"i:1", "w:g"}));
    EXPECT_EQ(Tokens("-0x10"), (V{"i:-16"}));
}

TEST(CsvTokenizer, RealNumbersAreTruncatedTowardZero)
{
    EXPECT_EQ(Tokens("1.75"), (V{"r:1.750000/1"}));
    EXPECT_EQ(Tokens("-2.5"), (V{"r:-2.500000/-2"}));
    EXPECT_EQ(Tokens(".5"), (V{"r:0.500000/0"}));
    EXPECT_EQ(Tokens("1.2.3"), (V{"r:1.200000/1"}));
    EXPECT_EQ(Tokens("7."), (V{"r:7.000000/7"}));
    EXPECT_EQ(Tokens("1e5"), (V{"i:1", "w:e5"}));
}

TEST(CsvTokenizer, WordsTakeDigitsAndDotsAfterTheirFirstLetter)
{
    EXPECT_EQ(Tokens("ab_1.2 _x"), (V{"w:ab_1.2", "w:_x"}));
    EXPECT_EQ(Tokens("\xA0\xFFz"), (V{"w:\xA0\xFFz"}));
    EXPECT_EQ(Tokens("12ab"), (V{"i:12", "w:ab"}));
    EXPECT_EQ(Tokens("\x81;"), (V{"c:\x81", "c:;"}));
}

TEST(CsvTokenizer, LineEndsOfEveryPlatformReadAsOne)
{
    EXPECT_EQ(Tokens("1\r\n2\r3\n\n"), (V{"i:1", "nl", "i:2", "nl", "i:3", "nl", "nl"}));
    EXPECT_EQ(Tokens("\r\r\n"), (V{"nl", "nl"}));
}

TEST(CsvTokenizer, StringsInEitherQuoteWithBackslashEscapes)
{
    EXPECT_EQ(Tokens("\"a'b\" 'c\"d'"), (V{"s:a'b", "s:c\"d"}));
    EXPECT_EQ(Tokens("\"\""), (V{"s:"}));
    EXPECT_EQ(Tokens(R"("a\"b\\c\d")"), (V{"s:a\"b\\cd"}));
    EXPECT_EQ(Tokens("\"one\\\r\n   two\""), (V{"s:onetwo"}));
    EXPECT_EQ(Tokens("\"one\\\n\ttwo\""), (V{"s:onetwo"}));
}

TEST(CsvTokenizer, LineEndInsideAStringMakesItInvalid)
{
    EXPECT_EQ(Tokens("\"open\n1"), (V{"bad", "nl", "i:1"}));
    EXPECT_EQ(Tokens("\"never closed"), (V{"bad"}));
    EXPECT_EQ(Tokens("\"ends in backslash\\"), (V{"bad"}));
}

TEST(CsvTokenizer, CommentsAreSkippedAndLineCommentsEatTheirLineEnd)
{
    EXPECT_EQ(Tokens("1 // two\n3"), (V{"i:1", "i:3"}));
    EXPECT_EQ(Tokens("1 /* 2 \n 3 */ 4"), (V{"i:1", "i:4"}));
    EXPECT_EQ(Tokens("1 /* open"), (V{"i:1"}));
    EXPECT_EQ(Tokens("1/2"), (V{"i:1", "c:/", "i:2"}));
    EXPECT_EQ(Tokens("\"// not a comment\""), (V{"s:// not a comment"}));
}

TEST(CsvTokenizer, DoubleByteLeadsTakeTheirTrailByteOnlyInDoubleByteText)
{
    // 0x95 0x5C is one code-page-932 character whose trail byte is a backslash.
    const std::string text = "\"\x95\\x\"";
    EXPECT_EQ(Tokens(text, true), (V{"s:\x95\\x"}));
    EXPECT_EQ(Tokens(text, false), (V{"s:\x95x"}));
    EXPECT_EQ(Tokens("\"\xE0\"\"", true), (V{"s:\xE0\""}));
}

TEST(TextEncoding, TellsUtf8FromOtherText)
{
    auto valid = [](const std::string &s, bool cut = false) {
        return IsValidUtf8(reinterpret_cast<const uint8_t *>(s.data()), s.size(), cut);
    };
    EXPECT_TRUE(valid("plain ascii text, long enough for the fast path"));
    EXPECT_TRUE(valid("\xE5\x9C\xB0\xE9\x9D\xA2 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(valid("\x92\x6E\x96\xCA")); // code page 932
    EXPECT_FALSE(valid("\xC0\x80"));         // overlong
    EXPECT_FALSE(valid("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(valid("\xE5\x9C"));
    EXPECT_TRUE(valid("\xE5\x9C", true));
    EXPECT_FALSE(valid("\xE5\x41", true));
    EXPECT_TRUE(IsDoubleByteLead(0x81) && IsDoubleByteLead(0x9F) && IsDoubleByteLead(0xE0) &&
                IsDoubleByteLead(0xFC));
    EXPECT_FALSE(IsDoubleByteLead(0x80) || IsDoubleByteLead(0xA0) || IsDoubleByteLead(0xFD));
}
