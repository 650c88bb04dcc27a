// What the EMF and WMF readers share: the refusal of a broken file, and each record copied
// into aligned memory with zeros after it, so that libuemf's structures and fixed-size
// readers never reach past the record, whatever its declared size.
#pragma once

#include <QImage>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

[[noreturn]] inline void RefuseBrokenMetafile()
{
    throw std::runtime_error("broken metafile");
}

class TRecordCopy
{
public:
    // The copy of Size bytes, 4-byte aligned, followed by at least 64 zero bytes.
    const char *Copy(const uint8_t *Record, size_t Size)
    {
        FWords.assign(Size / 4 + 1 + kPaddingWords, 0);
        std::memcpy(FWords.data(), Record, Size);
        return reinterpret_cast<const char *>(FWords.data());
    }
    char *Data() { return reinterpret_cast<char *>(FWords.data()); }

private:
    static constexpr size_t kPaddingWords = 16;
    std::vector<uint32_t> FWords;
};

// Whether Count items of ItemSize bytes from Offset lie inside a record of RecordSize bytes.
inline bool FitsInRecord(uint64_t Offset, uint64_t Count, uint64_t ItemSize, uint64_t RecordSize)
{
    return Offset <= RecordSize && Count <= (RecordSize - Offset) / (ItemSize == 0 ? 1 : ItemSize);
}
