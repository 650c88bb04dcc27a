#include "ClipboardBlock.h"

#include <algorithm>

namespace
{

void PutInt32(std::vector<uint8_t> &block, size_t offset, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        block[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const uint8_t *block, size_t offset)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(block[offset + static_cast<size_t>(i)]) << (8 * i);
    return static_cast<int32_t>(bits);
}

// A selection is 24 bytes: Active, three padding bytes, X, Y, DX, DY, Index.
void PutSelection(std::vector<uint8_t> &block, size_t offset, const TSelection &selection)
{
    block[offset] = selection.Active;
    PutInt32(block, offset + 4, selection.X);
    PutInt32(block, offset + 8, selection.Y);
    PutInt32(block, offset + 12, selection.DX);
    PutInt32(block, offset + 16, selection.DY);
    PutInt32(block, offset + 20, selection.Index);
}

TSelection GetSelection(const uint8_t *block, size_t offset)
{
    TSelection selection;
    selection.Active = block[offset];
    selection.X = GetInt32(block, offset + 4);
    selection.Y = GetInt32(block, offset + 8);
    selection.DX = GetInt32(block, offset + 12);
    selection.DY = GetInt32(block, offset + 16);
    selection.Index = GetInt32(block, offset + 20);
    return selection;
}

} // namespace

uint16_t To16Bit(uint16_t Value)
{
    return static_cast<uint16_t>((Value >> 4) * 256 + (Value & 15));
}

uint16_t To8Bit(uint16_t Value)
{
    return static_cast<uint16_t>((Value >> 8) * 16 + (Value & 255));
}

std::vector<uint8_t> EncodeClipboardBlock(const TModified &Request, uint8_t BitCount)
{
    std::vector<uint8_t> block(kClipboardHeaderSize + 2 * Request.Data.size(), 0);
    block[0] = BitCount;
    block[1] = Request.Kind;
    PutInt32(block, 2, Request.Layer);
    PutSelection(block, 6, Request.Target);
    PutSelection(block, 30, Request.Source);
    PutInt32(block, 54, Request.SrcPitch);
    for (size_t i = 0; i < Request.Data.size(); ++i) {
        block[kClipboardHeaderSize + 2 * i] = static_cast<uint8_t>(Request.Data[i]);
        block[kClipboardHeaderSize + 2 * i + 1] = static_cast<uint8_t>(Request.Data[i] >> 8);
    }
    return block;
}

bool DecodeClipboardBlock(const uint8_t *Block, size_t Size, TModified &Request, uint8_t BitCount)
{
    if (Block == nullptr || Size < kClipboardHeaderSize)
        return false;
    const uint8_t storedBitCount = Block[0];
    Request.Layer = GetInt32(Block, 2);
    Request.Target = GetSelection(Block, 6);
    Request.Source = GetSelection(Block, 30);
    Request.SrcPitch = GetInt32(Block, 54);

    const int64_t columns = static_cast<int64_t>(Request.Source.DX) + 1;
    const int64_t rows = static_cast<int64_t>(Request.Source.DY) + 1;
    const int64_t claimed = columns > 0 && rows > 0 ? columns * rows : 0;
    const int64_t held = static_cast<int64_t>((Size - kClipboardHeaderSize) / 2);
    const size_t count = static_cast<size_t>(std::min(claimed, held));
    Request.Data.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *value = Block + kClipboardHeaderSize + 2 * i;
        Request.Data[i] = static_cast<uint16_t>(value[0] | (value[1] << 8));
    }
    if (storedBitCount != BitCount) {
        for (uint16_t &value : Request.Data)
            value = storedBitCount == 8 ? To16Bit(value) : To8Bit(value);
    }
    return true;
}
