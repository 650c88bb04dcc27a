#include "tests/plugin-project/ProjectTestSupport.h"

#include "common/platform/CurrentDirectory.h"

#include <cstring>

TTestMap RichMap()
{
    TTestMap map(5, 3, 3);
    PluginMapRecord &r = map.Record;
    r.PartsWidth = 16;
    r.PartsHeight = 24;
    r.BitCount = 16;
    r.PathMode = 1;
    r.AlignFlags = 1;
    const uint8_t flags[6] = {1, 0, 0, 1, 1, 0};
    std::memcpy(r.EditorFlags, flags, 6);
    r.TransEnabled = 1;
    r.TransColor = 0x00112233;
    r.TransReserved = 0x7F;
    r.UseInvisiblePart = 1;
    r.InvisiblePart = 0xBEEF;
    r.InvisibleReserved = 0x42;
    r.GridColor = 0x00A0B0C0;
    r.AGridColor = 0x000000FF;
    r.Zoom = 384;
    map.Names = {"Ground", "Objects and more", "Odd"};
    map.Images = {"parts\\ground.bmp", "", "objects.bmp"};
    map.Layers[0].Visible = 1;
    map.Layers[1].Visible = 0;
    map.Layers[2].Visible = 1;
    map.Comment = "A comment\r\nover two lines";
    map.Hidden = {0, 1, 2, 0, 255, 3, 0};
    map.Cells[1][14] = 65535;
    return map;
}

std::string TextOrNull(const char *text)
{
    return text == nullptr ? "<null>" : text;
}

std::vector<uint16_t> LayerCells(const PluginMapRecord &record, int layer)
{
    const uint16_t *cells = record.Layers[layer].Cells;
    if (cells == nullptr)
        return {};
    return std::vector<uint16_t>(cells, cells + size_t{record.Width} * record.Height);
}

void ExpectSameHeaderAndSettings(const PluginMapRecord &expected, const PluginMapRecord &actual)
{
    EXPECT_EQ(actual.Width, expected.Width);
    EXPECT_EQ(actual.Height, expected.Height);
    EXPECT_EQ(actual.PartsWidth, expected.PartsWidth);
    EXPECT_EQ(actual.PartsHeight, expected.PartsHeight);
    EXPECT_EQ(actual.LayerCount, expected.LayerCount);
    EXPECT_EQ(actual.BitCount, expected.BitCount);
    EXPECT_EQ(actual.PathMode, expected.PathMode);
    EXPECT_EQ(actual.AlignFlags, expected.AlignFlags);
    EXPECT_EQ(0, std::memcmp(actual.EditorFlags, expected.EditorFlags, 6));
    EXPECT_EQ(actual.TransEnabled, expected.TransEnabled);
    EXPECT_EQ(actual.TransColor, expected.TransColor);
    EXPECT_EQ(actual.TransReserved, expected.TransReserved);
    EXPECT_EQ(actual.UseInvisiblePart, expected.UseInvisiblePart);
    EXPECT_EQ(actual.InvisiblePart, expected.InvisiblePart);
    EXPECT_EQ(actual.InvisibleReserved, expected.InvisibleReserved);
    EXPECT_EQ(actual.GridColor, expected.GridColor);
    EXPECT_EQ(actual.AGridColor, expected.AGridColor);
    EXPECT_EQ(actual.Zoom, expected.Zoom);
}

void ExpectSameLayers(const PluginMapRecord &expected, const PluginMapRecord &actual)
{
    ASSERT_EQ(actual.LayerCount, expected.LayerCount);
    for (int i = 0; i < expected.LayerCount; ++i) {
        SCOPED_TRACE("layer " + std::to_string(i));
        EXPECT_EQ(TextOrNull(actual.Layers[i].Name), TextOrNull(expected.Layers[i].Name));
        EXPECT_EQ(TextOrNull(actual.Layers[i].PartsImage),
                  TextOrNull(expected.Layers[i].PartsImage));
        EXPECT_EQ(actual.Layers[i].Visible, expected.Layers[i].Visible);
        EXPECT_EQ(LayerCells(actual, i), LayerCells(expected, i));
    }
}

TCurrentDirectoryScope::TCurrentDirectoryScope(const std::string &folder)
    : Previous(GetCurrentDirectoryPath())
{
    SetCurrentDirectoryPath(folder);
}

TCurrentDirectoryScope::~TCurrentDirectoryScope()
{
    SetCurrentDirectoryPath(Previous);
}
