// Little-endian field access and chunk identifiers of the RIFF container.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t FourCC(const char (&id)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(id[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(id[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(id[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(id[3])) << 24;
}

inline uint16_t LoadU16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t LoadU32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreU16(uint8_t *p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreU32(uint8_t *p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

// Bytes a chunk of this data size takes in the file: header, data and pad byte.
constexpr uint64_t RiffChunkSpan(uint64_t dataSize)
{
    return 8 + dataSize + (dataSize & 1);
}

// Cells are stored little-endian; on a big-endian host they are swapped in place.
void CellsFromLittleEndian(uint16_t *cells, size_t count);

namespace ProjectChunk
{
constexpr uint32_t Riff = FourCC("RIFF");
constexpr uint32_t List = FourCC("LIST");
constexpr uint32_t Form = FourCC("UMF_");
constexpr uint32_t Header = FourCC("UMFh");
constexpr uint32_t Version = FourCC("Ver_");
constexpr uint32_t EditorEnv = FourCC("EEnv");
constexpr uint32_t OldEnv = FourCC("Env_");
constexpr uint32_t ColorKey = FourCC("ColK");
constexpr uint32_t Grid = FourCC("Grid");
constexpr uint32_t Zoom = FourCC("Zoom");
constexpr uint32_t Invisible = FourCC("InvC");
constexpr uint32_t Hidden = FourCC("Hidn");
constexpr uint32_t Comment = FourCC("Comt");
constexpr uint32_t Layer = FourCC("LAY_");
constexpr uint32_t Layer0 = FourCC("LAY0");
constexpr uint32_t Layer1 = FourCC("LAY1");
constexpr uint32_t LayerName = FourCC("LSTR");
constexpr uint32_t LayerImage = FourCC("PSTR");
constexpr uint32_t LayerVisible = FourCC("LINV");
constexpr uint32_t LayerData = FourCC("LDAT");
} // namespace ProjectChunk
