#include "MapTestSupport.h"
#include "editor/map/ClipboardBlock.h"

#include <gtest/gtest.h>

TEST(ClipboardConversions, BetweenSixteenAnd256Columns)
{
    EXPECT_EQ(To16Bit(17), 257);
    EXPECT_EQ(To16Bit(15), 15);
    EXPECT_EQ(To16Bit(255), 15 * 256 + 15);
    EXPECT_EQ(To8Bit(257), 17);
    EXPECT_EQ(To8Bit(20), 20); // column 20 spills into the next row
    EXPECT_EQ(To8Bit(0xFFFF), static_cast<uint16_t>(255 * 16 + 255));
}

TEST(ClipboardBlock, LayoutIsFiftyEightBytesPlusTheValues)
{
    TModified request = Block(3, 4, 5, 3, 2, {1, 2, 3, 4, 5, 0x1234});
    request.Source.X = 7;
    request.Source.Index = -2;
    const std::vector<uint8_t> block = EncodeClipboardBlock(request, 16);
    ASSERT_EQ(block.size(), 70u);
    EXPECT_EQ(block[0], 16);
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[2], 3);
    EXPECT_EQ(block[6], 1);  // Target.Active
    EXPECT_EQ(block[10], 4); // Target.X
    EXPECT_EQ(block[14], 5); // Target.Y
    EXPECT_EQ(block[18], 2); // Target.DX
    EXPECT_EQ(block[34], 7); // Source.X
    EXPECT_EQ(block[50], 0xFE);
    EXPECT_EQ(block[53], 0xFF); // Source.Index = -2
    EXPECT_EQ(block[54], 2);    // SrcPitch
    EXPECT_EQ(block[68], 0x34);
    EXPECT_EQ(block[69], 0x12);
}

TEST(ClipboardBlock, RoundTripConvertsBetweenBitCounts)
{
    TModified request = Block(0, 0, 0, 2, 1, {17, 3});
    const std::vector<uint8_t> block = EncodeClipboardBlock(request, 8);
    TModified same;
    ASSERT_TRUE(DecodeClipboardBlock(block.data(), block.size(), same, 8));
    EXPECT_EQ(same.Data, (std::vector<uint16_t>{17, 3}));
    EXPECT_EQ(same.Source.DX, 1);
    TModified wide;
    ASSERT_TRUE(DecodeClipboardBlock(block.data(), block.size(), wide, 16));
    EXPECT_EQ(wide.Data, (std::vector<uint16_t>{257, 3}));

    TModified back = Block(0, 0, 0, 2, 1, {257, 20});
    const std::vector<uint8_t> wideBlock = EncodeClipboardBlock(back, 16);
    TModified narrow;
    ASSERT_TRUE(DecodeClipboardBlock(wideBlock.data(), wideBlock.size(), narrow, 8));
    EXPECT_EQ(narrow.Data, (std::vector<uint16_t>{17, 20}));
}

TEST(ClipboardBlock, BrokenBlocksNeverReadPastTheirEnd)
{
    TModified request = Block(0, 0, 0, 2, 2, {1, 2, 3, 4});
    std::vector<uint8_t> block = EncodeClipboardBlock(request, 8);

    TModified untouched = Single(5, 1, 1, 42);
    EXPECT_FALSE(DecodeClipboardBlock(block.data(), 57, untouched, 8));
    EXPECT_EQ(untouched.Layer, 5);
    EXPECT_EQ(untouched.Data, std::vector<uint16_t>{42});

    // Claims 1000 × 1000 values but holds four.
    block[42] = 0xE7;
    block[43] = 0x03;
    block[46] = 0xE7;
    block[47] = 0x03;
    TModified claimed;
    ASSERT_TRUE(DecodeClipboardBlock(block.data(), block.size(), claimed, 8));
    EXPECT_EQ(claimed.Data, (std::vector<uint16_t>{1, 2, 3, 4}));

    // Negative sizes hold nothing.
    block[42] = 0xFE;
    block[43] = 0xFF;
    block[44] = 0xFF;
    block[45] = 0xFF;
    TModified negative;
    ASSERT_TRUE(DecodeClipboardBlock(block.data(), block.size(), negative, 8));
    EXPECT_TRUE(negative.Data.empty());
}
