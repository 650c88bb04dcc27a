#include "editor/plugins/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Utf8IsRecognised)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("無題 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));         // cut short
    EXPECT_FALSE(IsValidUtf8("\x96\xb3\x91\xe8")); // code page 932
}

TEST(TextEncoding, CodePage932WithWindowsExtensions)
{
    EXPECT_EQ(SystemTextToUtf8("\x96\xb3\x91\xe8"), "無題");
    EXPECT_EQ(SystemTextToUtf8("\x87\x40"), "①");  // NEC row 13
    EXPECT_EQ(SystemTextToUtf8("\xb1\xdd"), "ｱﾝ"); // half-width katakana
    EXPECT_EQ(SystemTextToUtf8("already UTF-8: 無題"), "already UTF-8: 無題");
    // Bytes that are no code page 932 either come out as replacement characters.
    const std::string broken = SystemTextToUtf8("a\x81\xff");
    EXPECT_TRUE(IsValidUtf8(broken));
    EXPECT_EQ(broken.front(), 'a');
}
