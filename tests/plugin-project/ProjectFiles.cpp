#include "tests/plugin-project/ProjectFiles.h"

TBytes MapHeaderBytes(uint32_t width, uint32_t height, uint32_t partsWidth, uint32_t partsHeight,
                      uint8_t layerCount, uint8_t bitCount, uint8_t pathMode, uint8_t alignFlags,
                      bool placeholders)
{
    TBytes header;
    header.U32(width).U32(height).U32(partsWidth).U32(partsHeight).U8(layerCount);
    if (placeholders)
        header.U8(0xFF).U8(0xFF).U8(0xFF);
    else
        header.U8(bitCount).U8(pathMode).U8(alignFlags);
    return header;
}

TBytes CellBytes(const std::vector<uint16_t> &cells)
{
    TBytes bytes;
    for (const uint16_t cell : cells)
        bytes.U16(cell);
    return bytes;
}

std::vector<uint8_t> SampleVersion1File()
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(3, 2, 16, 16, 2, 0, 0, 0, true), false);
    chunks.Chunk("ColK", TBytes().U32(1).U32(0x00FF00FF), false);
    chunks.Chunk("InvC", TBytes().U8(1).U8(9), false);
    chunks.Chunk("Comt", TBytes().Text("old"), false);
    for (uint8_t layer = 0; layer < 2; ++layer) {
        TBytes data;
        data.CText(layer == 0 ? "ground" : "top").U8(layer).CText("chips.bmp").U8(1);
        for (uint8_t i = 0; i < 6; ++i)
            data.U8(static_cast<uint8_t>(10 * layer + i + 200));
        chunks.Chunk("LAY0", data, false);
    }
    return ProjectFile(chunks);
}

std::vector<uint8_t> SampleVersion2File(const std::string &image,
                                        const std::vector<uint16_t> &cells, uint8_t bitCount,
                                        uint8_t layers)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(3, 2, 16, 16, layers, 0, 0, 0, true), false);
    chunks.Chunk("ColK", TBytes().U32(0x101).U32(0x00123456), false);
    chunks.Chunk("InvC", TBytes().U8(1).U8(5), false);
    chunks.Chunk("Junk", TBytes().Text("skipped"), false);
    for (uint8_t layer = 0; layer < layers; ++layer) {
        TBytes data;
        data.U8(0).CText("layer" + std::to_string(layer)).U8(1).CText(image).U8(0);
        data.U8(bitCount).CText("unused").U8(0).U8(layer == 0 ? 1 : 0).Raw(CellBytes(cells).Data);
        chunks.Chunk("LAY1", data, false);
    }
    chunks.Chunk("Comt", TBytes().Text("v2 comment"), false);
    return ProjectFile(chunks);
}

std::vector<uint8_t> SampleVersion3File()
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(2, 2, 24, 24, 3, 16, 1, 255));
    chunks.Chunk("Zoom", TBytes().U16(512));
    chunks.Chunk("Env_", TBytes().U8(1).U8(0).U8(0).U8(1));
    chunks.Chunk("Grid", TBytes().U32(0x00112233).U32(0x00445566));
    chunks.Chunk("ColK", TBytes().U8(1).U32(0x00FF0000).U8(7));
    chunks.Chunk("InvC", TBytes().U8(1).U16(300).U8(8));
    chunks.Chunk("Comt", TBytes().Text("odd"));       // padded
    chunks.Chunk("Hidn", TBytes().U8(1).U8(2).U8(3)); // the whole data, padded

    TBytes hidden;
    hidden.Chunk("LSTR", TBytes().Text("sky")).Chunk("PSTR", TBytes().Text("sky.bmp"));
    hidden.Chunk("LINV", TBytes().U8(0)).Chunk("LDAT", CellBytes({1, 2, 3, 4}));
    chunks.Chunk("LAY_", hidden);

    TBytes shown;
    shown.Chunk("LSTR", TBytes().Text("land")).Chunk("LDAT", CellBytes({5, 6, 7, 8}));
    chunks.Chunk("LAY_", shown);

    TBytes stream;
    stream.CText("sea").CText("sea.bmp").U8(42).Raw(CellBytes({9, 10, 11, 12}).Data);
    chunks.Chunk("LAY1", stream);
    return ProjectFile(chunks);
}

std::vector<uint8_t> SampleVersion4File()
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(2, 1, 32, 32, 2, 16, 1, 1));
    chunks.Chunk("Ver_", TBytes().U8(1).U8(6).U8(1).U8(0x66));
    chunks.Chunk("EEnv", TBytes().U8(1).U8(1).U8(0).U8(1).U8(0).U8(1));
    chunks.Chunk("ColK", TBytes().U8(1).U32(0x00ABCDEF).U8(255));
    chunks.Chunk("Grid", TBytes().U32(0x00808080).U32(0x000000FF));
    chunks.Chunk("Zoom", TBytes().U16(128));
    chunks.Chunk("InvC", TBytes().U8(1).U16(1234).U8(255));
    chunks.Chunk("Hidn", TBytes().U32(3).U8(7).U8(8).U8(9));
    chunks.Chunk("Comt", TBytes().Text("comment"));
    TBytes first;
    first.Chunk("LSTR", TBytes().Text("base")).Chunk("PSTR", TBytes().Text("a\\b.bmp"));
    first.Chunk("LINV", TBytes().U8(1)).Chunk("LDAT", CellBytes({100, 65535}));
    chunks.List("LIST", "LAY_", first);
    TBytes second;
    second.Chunk("LSTR", TBytes().Text("top")).Chunk("LINV", TBytes().U8(0));
    second.Chunk("LDAT", CellBytes({0, 1}));
    chunks.List("LIST", "LAY_", second);
    return ProjectFile(chunks);
}
