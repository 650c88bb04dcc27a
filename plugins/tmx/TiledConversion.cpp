#include "plugins/tmx/TiledConversion.h"

#include "plugins/tmx/DerivedParts.h"
#include "plugins/tmx/LayerPlacement.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TiledNotes.h"
#include "plugins/tmx/TilesetSource.h"
#include "plugins/tmx/Utf8Text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>

namespace
{

constexpr size_t kMaxLayers = 255;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kDrawnFlags = kFlipHorizontal | kFlipVertical | kFlipDiagonal;

// One way a tile appears in the map: which tile, flipped how, moved by which offsets.
struct TTemplate {
    size_t Use = 0;
    TTileVariant Variant;
    int32_t Image = -1;
    std::vector<TTilePart> Parts;
};

// How a tileset's tiles reach the map: its own image, or a parts image made from it.
struct TUse {
    std::unique_ptr<TTilesetSource> Source;
    std::vector<size_t> Templates;
    bool AsIs = true;
    std::unique_ptr<TDerivedParts> Parts;
    bool TerrainCut = false; // terrain tiles the parts image cannot hold as single parts
};

class TConverter
{
public:
    explicit TConverter(const TTiledMap &map) : FMap(map) {}
    TConvertedMap Run();

private:
    void OpenTilesets();
    // Visits every tile of a layer in Tiled's drawing order with its template.
    template <typename TVisit> void VisitTiles(size_t layerIndex, TVisit &&visit);
    size_t TemplateOf(uint32_t gid, int64_t offsetX, int64_t offsetY, int64_t x, int64_t y,
                      const TTiledLayer &layer);
    bool AsIsPlacement(const TUse &use, const TTemplate &candidate) const;
    void ChooseTransparency();
    void MakeParts();
    void AssignImages();
    void PlaceLayers();
    void Finish();
    bool BottomNeedsBase() const;
    static void TranslateWangSets(TUse &use, TDerivedTileset &derived);

    const TTiledMap &FMap;
    TConvertedMap FOut;
    std::vector<TUse> FUses; // in the order of their first ids
    std::vector<TTemplate> FTemplates;
    std::map<std::tuple<uint32_t, int64_t, int64_t>, size_t> FTemplateOf;
    std::vector<std::vector<TStackLayer>> FStacks; // per Tiled layer
    TPartMasks FMasks;
    std::vector<bool> FKeyedUnread; // per image: keyed by a trans colour, pixels not read
};

// The drawn pixels of each used part of an image shown as it is (a PNG, decoded already
// for its alpha).
void AddImageMasks(const TRgbaImage &image, const std::vector<uint16_t> &chips, int32_t gw,
                   int32_t gh, int32_t imageIndex, TPartMasks &masks)
{
    const int32_t columns = (image.Width + gw - 1) / gw;
    const size_t words = (static_cast<size_t>(gw) * static_cast<size_t>(gh) + 63) / 64;
    for (const uint16_t chip : chips) {
        if (masks.Known(imageIndex, chip))
            continue;
        const int32_t left = chip % columns * gw;
        const int32_t top = chip / columns * gh;
        std::vector<uint64_t> bits(words, 0);
        for (int32_t y = 0; y < gh; ++y)
            for (int32_t x = 0; x < gw; ++x)
                if (left + x < image.Width && top + y < image.Height &&
                    image.At(left + x, top + y)[3] >= 128) {
                    const size_t bit =
                        static_cast<size_t>(y) * static_cast<size_t>(gw) + static_cast<size_t>(x);
                    bits[bit / 64] |= uint64_t{1} << (bit % 64);
                }
        masks.SetMask(imageIndex, chip, std::move(bits));
    }
}

int64_t Rounded(double value)
{
    return static_cast<int64_t>(std::llround(value));
}

// Tiled's drawing order: rows from the top or the bottom, cells from the left or the right.
template <typename TVisit> void TConverter::VisitTiles(size_t layerIndex, TVisit &&visit)
{
    const TTiledLayer &layer = FMap.Layers[layerIndex];
    const int64_t width = FMap.Width;
    const int64_t height = FMap.Height;
    const bool up = FMap.RenderOrder == "right-up" || FMap.RenderOrder == "left-up";
    const bool left = FMap.RenderOrder == "left-down" || FMap.RenderOrder == "left-up";
    const int64_t offsetX = Rounded(layer.OffsetX);
    const int64_t offsetY = Rounded(layer.OffsetY);
    // Most maps use few tiles many times: the templates of plain ids are kept in a table.
    std::vector<int64_t> plain;
    std::unordered_map<uint32_t, size_t> flipped;
    for (int64_t row = 0; row < height; ++row) {
        const int64_t y = up ? height - 1 - row : row;
        const uint32_t *gids = layer.Gids.data() + y * width;
        for (int64_t column = 0; column < width; ++column) {
            const int64_t x = left ? width - 1 - column : column;
            const uint32_t gid = gids[x];
            if ((gid & ~kTileFlagBits) == 0)
                continue;
            size_t index = 0;
            if (gid < (1u << 20)) {
                if (plain.size() <= gid)
                    plain.resize(size_t{gid} + 1, -1);
                if (plain[gid] < 0)
                    plain[gid] =
                        static_cast<int64_t>(TemplateOf(gid, offsetX, offsetY, x, y, layer));
                index = static_cast<size_t>(plain[gid]);
            } else {
                auto known = flipped.find(gid);
                if (known == flipped.end())
                    known =
                        flipped.emplace(gid, TemplateOf(gid, offsetX, offsetY, x, y, layer)).first;
                index = known->second;
            }
            visit(x, y, index);
        }
    }
}

size_t TConverter::TemplateOf(uint32_t gid, int64_t offsetX, int64_t offsetY, int64_t x, int64_t y,
                              const TTiledLayer &layer)
{
    const uint32_t flags = gid & kDrawnFlags;
    const uint32_t id = gid & ~kTileFlagBits;
    const auto known = FTemplateOf.find({gid & ~0x10000000u, offsetX, offsetY});
    if (known != FTemplateOf.end())
        return known->second;
    const std::string where = "layer " + Quoted(layer.Name) + ", cell " + std::to_string(x) + ", " +
                              std::to_string(y) + ": the tile id " + std::to_string(id);
    // The tileset with the largest first id not above the id.
    size_t use = FUses.size();
    for (size_t i = 0; i < FUses.size(); ++i)
        if (FUses[i].Source->FirstGid() <= id)
            use = i;
    if (use == FUses.size())
        ThrowBroken(FMap.FileName, where + (FUses.empty() ? " names a tile, but the map has no "
                                                            "tileset"
                                                          : " lies before the first tileset"));
    TTilesetSource &source = *FUses[use].Source;
    const uint32_t local = id - source.FirstGid();
    if (!source.HasTile(local)) {
        if (use + 1 == FUses.size() && local >= source.TileCount())
            ThrowBroken(FMap.FileName,
                        where + " is past every tileset (the last, " +
                            Quoted(source.Tileset().Name) + ", ends at " +
                            std::to_string(source.FirstGid() + source.TileCount() - 1) + ")");
        ThrowBroken(FMap.FileName, where + " names no tile of " + source.Describe());
    }
    TTemplate entry;
    entry.Use = use;
    entry.Variant.Id = local;
    entry.Variant.Flags = flags;
    entry.Variant.OffsetX = offsetX + source.Tileset().OffsetX;
    entry.Variant.OffsetY = offsetY + source.Tileset().OffsetY;
    const size_t index = FTemplates.size();
    FTemplates.push_back(entry);
    FTemplateOf.emplace(std::tuple{gid & ~0x10000000u, offsetX, offsetY}, index);
    FUses[use].Templates.push_back(index);
    return index;
}

void TConverter::OpenTilesets()
{
    std::vector<const TTiledTilesetUse *> uses;
    for (const TTiledTilesetUse &use : FMap.Tilesets)
        uses.push_back(&use);
    std::stable_sort(uses.begin(), uses.end(),
                     [](const auto *a, const auto *b) { return a->FirstGid < b->FirstGid; });
    for (size_t i = 0; i < uses.size(); ++i) {
        if (i != 0 && uses[i]->FirstGid == uses[i - 1]->FirstGid)
            ThrowBroken(FMap.FileName,
                        "two tilesets start at the tile id " + std::to_string(uses[i]->FirstGid));
        TUse use;
        use.Source = std::make_unique<TTilesetSource>(*uses[i]->Tileset, uses[i]->FirstGid);
        FUses.push_back(std::move(use));
    }
}

// An image tileset whose used tiles are whole parts of its image where they are drawn.
bool TConverter::AsIsPlacement(const TUse &use, const TTemplate &candidate) const
{
    const TTilesetSource &source = *use.Source;
    const TTiledTileset &tileset = source.Tileset();
    const auto gw = static_cast<int32_t>(FMap.TileWidth);
    const auto gh = static_cast<int32_t>(FMap.TileHeight);
    if (source.IsCollection() || candidate.Variant.Flags != 0)
        return false;
    if (source.ImageFormat() != TImageFormat::Png && source.ImageFormat() != TImageFormat::Bmp &&
        source.ImageFormat() != TImageFormat::Jpeg)
        return false;
    int32_t x = 0, y = 0, width = 0, height = 0;
    source.TileRectangle(candidate.Variant.Id, x, y, width, height);
    const TTilePlacement placement =
        PlaceTile(width, height, false, candidate.Variant.OffsetX, candidate.Variant.OffsetY, gw,
                  gh, tileset.RenderAtGridSize, tileset.KeepAspect);
    if (placement.Width != width || placement.Height != height || placement.PhaseX != 0 ||
        placement.PhaseY != 0 || width % gw != 0 || height % gh != 0 || x % gw != 0 || y % gh != 0)
        return false;
    // The last part must have a number below the one that stands for the empty cell.
    const int64_t columns = (int64_t{source.ImageSize().Width} + gw - 1) / gw;
    const int64_t last = (int64_t{y + height} / gh - 1) * columns + (x + width) / gw - 1;
    return last < 65535;
}

// Draws the parts of every tileset that needs its own and has none yet.
void TConverter::MakeParts()
{
    const auto gw = static_cast<int32_t>(FMap.TileWidth);
    const auto gh = static_cast<int32_t>(FMap.TileHeight);
    for (TUse &use : FUses) {
        if (use.AsIs || use.Templates.empty() || use.Parts)
            continue;
        std::vector<TTileVariant> used;
        for (const size_t t : use.Templates)
            used.push_back(FTemplates[t].Variant);
        // The whole tileset is laid out as the first layer that uses it places its tiles.
        const TTileVariant &first = FTemplates[use.Templates.front()].Variant;
        use.Parts = std::make_unique<TDerivedParts>(*use.Source, gw, gh);
        use.Parts->Build(first.OffsetX, first.OffsetY, used);
    }
}

// One transparent colour for the whole map: magenta when any picture has alpha (the parts
// reader shows alpha below half as magenta, and made parts images keep alpha), otherwise the
// one trans colour the tilesets agree on. Tilesets whose trans colour differs from the
// chosen one get parts images of their own, whose trans pixels become alpha.
void TConverter::ChooseTransparency()
{
    bool alpha = false;
    std::vector<uint32_t> keys;
    for (TUse &use : FUses) {
        if (use.Templates.empty())
            continue;
        if (!use.AsIs) {
            alpha = alpha || use.Parts->HasTransparency();
            continue;
        }
        if (use.Source->Tileset().Trans)
            keys.push_back(*use.Source->Tileset().Trans);
        if (use.Source->ImageFormat() == TImageFormat::Png && use.Source->ImageHasAlpha())
            alpha = true;
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    if (!alpha && keys.empty())
        return;
    FOut.TransEnabled = true;
    FOut.TransColour = (!alpha && keys.size() == 1) ? keys[0] : kMagenta;
    for (TUse &use : FUses)
        if (use.AsIs && use.Source->Tileset().Trans &&
            *use.Source->Tileset().Trans != FOut.TransColour)
            use.AsIs = false;
    MakeParts();
}

void TConverter::AssignImages()
{
    const auto gw = static_cast<int32_t>(FMap.TileWidth);
    const auto gh = static_cast<int32_t>(FMap.TileHeight);
    std::map<std::string, int32_t> imageOf;
    for (TUse &use : FUses) {
        if (use.Templates.empty())
            continue;
        int32_t image = -1;
        if (use.AsIs) {
            const std::string &path = use.Source->Tileset().Image;
            auto known = imageOf.find(path);
            if (known == imageOf.end()) {
                known = imageOf.emplace(path, static_cast<int32_t>(FOut.Images.size())).first;
                TConvertedImage entry;
                entry.Path = path;
                FOut.Images.push_back(entry);
            }
            image = known->second;
        } else {
            image = static_cast<int32_t>(FOut.Images.size());
            TConvertedImage entry;
            entry.Derived = static_cast<int32_t>(FOut.Derived.size());
            FOut.Images.push_back(entry);
            TDerivedTileset derived;
            derived.Name = ValidUtf8(use.Source->Tileset().Name);
            derived.Describe = use.Source->Describe();
            derived.Image = use.Parts->Image();
            derived.PartsWidth = gw;
            derived.PartsHeight = gh;
            derived.PartColumns = use.Parts->PartColumns();
            TranslateWangSets(use, derived);
            FOut.Derived.push_back(std::move(derived));
            use.Parts->AddMasks(FMasks, image);
        }
        const int64_t columns = (int64_t{use.Source->ImageSize().Width} + gw - 1) / gw;
        for (const size_t t : use.Templates) {
            TTemplate &entry = FTemplates[t];
            entry.Image = image;
            if (!use.AsIs) {
                entry.Parts = use.Parts->PartsOf(entry.Variant);
                continue;
            }
            int32_t x = 0, y = 0, width = 0, height = 0;
            use.Source->TileRectangle(entry.Variant.Id, x, y, width, height);
            const TTilePlacement placement = PlaceTile(width, height, false, entry.Variant.OffsetX,
                                                       entry.Variant.OffsetY, gw, gh, false, false);
            for (int32_t row = 0; row < placement.Rows; ++row)
                for (int32_t column = 0; column < placement.Columns; ++column)
                    entry.Parts.push_back(
                        {placement.DeltaX + column, placement.DeltaY + row,
                         static_cast<uint16_t>((y / gh + row) * columns + x / gw + column)});
        }
        if (FKeyedUnread.size() <= static_cast<size_t>(image))
            FKeyedUnread.resize(static_cast<size_t>(image) + 1, false);
        if (!use.AsIs)
            continue;
        if (use.Source->ImageFormat() != TImageFormat::Png) {
            FKeyedUnread[static_cast<size_t>(image)] = use.Source->Tileset().Trans.has_value();
            continue;
        }
        std::vector<uint16_t> chips;
        for (const size_t t : use.Templates)
            for (const TTilePart &part : FTemplates[t].Parts)
                chips.push_back(part.Chip);
        AddImageMasks(use.Source->SourcePixels(0), chips, gw, gh, image, FMasks);
    }
}

// Tessella draws its bottom layer without the transparent colour. When the bottom layer
// shows parts with transparent pixels, an empty layer goes below it, so they stay
// transparent as Tiled draws them instead of showing the colour.
bool TConverter::BottomNeedsBase() const
{
    if (!FOut.TransEnabled || FOut.Layers.empty() || FOut.Layers[0].Image < 0)
        return false;
    const TConvertedLayer &bottom = FOut.Layers[0];
    const size_t pixels = static_cast<size_t>(FMap.TileWidth * FMap.TileHeight);
    for (const uint16_t chip : bottom.Cells) {
        if (chip == FOut.InvisiblePart)
            continue;
        if (FMasks.Known(bottom.Image, chip) ? !FMasks.Opaque(bottom.Image, chip, pixels)
                                             : FKeyedUnread[static_cast<size_t>(bottom.Image)])
            return true;
    }
    return false;
}

void TConverter::PlaceLayers()
{
    size_t total = 0;
    for (size_t l = 0; l < FMap.Layers.size(); ++l) {
        TLayerStack stack(static_cast<int32_t>(FMap.Width), static_cast<int32_t>(FMap.Height),
                          kMaxLayers - std::min(total, kMaxLayers), FMasks);
        VisitTiles(l, [&](int64_t x, int64_t y, size_t index) {
            const TTemplate &entry = FTemplates[index];
            if (!stack.Place(entry.Parts, entry.Image, x, y))
                ThrowNotSupported(FMap.FileName,
                                  "the map needs more than " + std::to_string(kMaxLayers) +
                                      " layers to keep its overlapping tiles in order");
        });
        if (stack.Layers().empty()) {
            // A layer without tiles stays, empty and without a parts image.
            TStackLayer empty;
            empty.Cells.assign(static_cast<size_t>(FMap.Width * FMap.Height), kNoPart);
            stack.Layers().push_back(std::move(empty));
        }
        total += stack.Layers().size();
        if (total > kMaxLayers)
            ThrowNotSupported(FMap.FileName,
                              "the map needs more than " + std::to_string(kMaxLayers) + " layers");
        FStacks.push_back(std::move(stack.Layers()));
    }
}

void TConverter::Finish()
{
    const auto gw = int64_t{FMap.TileWidth};
    const auto gh = int64_t{FMap.TileHeight};
    // 16 bits when any layer's image holds more parts than 8-bit numbers reach (255 is the
    // empty cell).
    for (const TUse &use : FUses) {
        if (use.Templates.empty())
            continue;
        const int64_t parts = use.AsIs ? ((use.Source->ImageSize().Width + gw - 1) / gw) *
                                             ((use.Source->ImageSize().Height + gh - 1) / gh)
                                       : use.Parts->PartCount();
        if (parts > 255)
            FOut.BitCount = 16;
    }
    FOut.InvisiblePart = FOut.BitCount == 16 ? 65535 : 255;
    for (size_t l = 0; l < FStacks.size(); ++l) {
        const TTiledLayer &layer = FMap.Layers[l];
        // Tessella draws a layer whole or not at all: one drawn at less than half its
        // opacity is hidden, as a pixel of less than half alpha is.
        const bool visible = layer.Visible && layer.Opacity >= 0.5;
        for (size_t k = 0; k < FStacks[l].size(); ++k) {
            TStackLayer &stacked = FStacks[l][k];
            TConvertedLayer out;
            const std::string name = ValidUtf8(layer.Name);
            out.Name = k == 0 ? name : name + " (" + std::to_string(k + 1) + ")";
            out.Visible = visible;
            out.Image = stacked.Image;
            out.Cells = std::move(stacked.Cells);
            if (FOut.InvisiblePart != kNoPart)
                std::replace(out.Cells.begin(), out.Cells.end(), kNoPart, FOut.InvisiblePart);
            FOut.Layers.push_back(std::move(out));
        }
        FStacks[l].clear();
    }
    if (FOut.Layers.size() < kMaxLayers && BottomNeedsBase()) {
        TConvertedLayer base;
        base.Name = "Base";
        base.Cells.assign(static_cast<size_t>(FMap.Width * FMap.Height), FOut.InvisiblePart);
        FOut.Layers.insert(FOut.Layers.begin(), std::move(base));
    }
    FOut.Width = static_cast<int32_t>(FMap.Width);
    FOut.Height = static_cast<int32_t>(FMap.Height);
    FOut.PartsWidth = static_cast<int32_t>(gw);
    FOut.PartsHeight = static_cast<int32_t>(gh);
    if (FMap.Comment)
        FOut.Comment = ValidUtf8(*FMap.Comment);
}

void TConverter::TranslateWangSets(TUse &use, TDerivedTileset &derived)
{
    const TDerivedParts &parts = *use.Parts;
    const auto partOf = [&](int64_t tile) -> int64_t {
        return tile < 0 ? -1 : parts.SinglePart(static_cast<uint32_t>(tile));
    };
    for (const TTiledWangSet &set : use.Source->Tileset().WangSets) {
        TTiledWangSet translated = set;
        translated.Tile = partOf(set.Tile);
        for (TTiledWangColor &colour : translated.Colors)
            colour.Tile = partOf(colour.Tile);
        translated.Tiles.clear();
        for (const TTiledWangTile &tile : set.Tiles) {
            const int64_t part = partOf(tile.TileId);
            if (part < 0) {
                use.TerrainCut = true;
                continue;
            }
            TTiledWangTile moved = tile;
            moved.TileId = static_cast<uint32_t>(part);
            translated.Tiles.push_back(moved);
        }
        derived.WangSets.push_back(translated);
    }
    for (const TTiledTile &tile : use.Source->Tileset().Tiles) {
        const int64_t part = partOf(tile.Id);
        if (tile.Probability && part >= 0)
            derived.Probabilities.emplace_back(static_cast<uint32_t>(part), *tile.Probability);
    }
}

TConvertedMap TConverter::Run()
{
    OpenTilesets();
    for (size_t l = 0; l < FMap.Layers.size(); ++l)
        VisitTiles(l, [](int64_t, int64_t, size_t) {});
    for (TUse &use : FUses)
        for (const size_t t : use.Templates)
            use.AsIs = use.AsIs && AsIsPlacement(use, FTemplates[t]);
    MakeParts();
    ChooseTransparency();
    AssignImages();
    PlaceLayers();
    Finish();
    std::vector<TTilesetFate> fates;
    for (const TUse &use : FUses) {
        TTilesetFate fate;
        fate.Tileset = &use.Source->Tileset();
        fate.Derived = use.Parts != nullptr;
        fate.TerrainCut = use.TerrainCut;
        fates.push_back(fate);
    }
    FOut.LeftOut = ListLeftOut(FMap, fates);
    return std::move(FOut);
}

} // namespace

TConvertedMap ConvertTiledMap(const TTiledMap &Map)
{
    return TConverter(Map).Run();
}
