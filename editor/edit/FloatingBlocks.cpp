#include "FloatingBlocks.h"

#include "SelectionRules.h"

std::vector<TModified> LiftBlocks(TMap &Map, const TLiftRequest &Request)
{
    std::vector<TModified> blocks;
    if (!LiesInsideMap(Request.Selection, Map.Width(), Map.Height()))
        return blocks;
    blocks.reserve(Request.Layers.size());
    for (int32_t layer : Request.Layers) {
        TModified block;
        block.Layer = layer;
        block.Source = Request.Selection;
        block.Source.Active = 1;
        block.SrcPitch = Request.Selection.DX;
        if (Map.ReadData(block))
            blocks.push_back(std::move(block));
    }
    if (!Request.KeepSource) {
        for (const TModified &block : blocks)
            WriteSingleValue(Map, block.Layer, Request.Selection, Request.ClearValue,
                             Request.Limit);
    }
    return blocks;
}

TSelection PutBlocksDown(TMap &Map, std::vector<TModified> &Blocks, const TSelection &At,
                         int32_t Limit)
{
    TSelection written;
    if (!BlockOverlapsMap(At, Map.Width(), Map.Height()))
        return written;
    for (TModified &block : Blocks) {
        if (block.Data.empty() || !block.Source.Active)
            continue;
        block.Kind = 0;
        block.Target = At;
        block.Target.Active = 1;
        // Each block's own row length: blocks of one lift share it, but nothing else may be
        // assumed about the first one.
        block.SrcPitch = block.Source.DX;
        if (Map.WriteData(block, Limit))
            written.Active = 1;
        block.Source.Active = 0; // written once only
    }
    if (written.Active) {
        TSelection cells = At;
        ClipSelection(cells, Map.Width(), Map.Height());
        cells.Active = 1;
        written = cells;
    }
    return written;
}

bool WriteSingleValue(TMap &Map, int32_t Layer, const TSelection &Rect, uint16_t Value,
                      int32_t Limit)
{
    TSelection target = Rect;
    if (IsFailedSelection(target, Map.Width(), Map.Height()))
        return false;
    // A tiled write records the whole target width: it must not pass the map's edge.
    ClipSelection(target, Map.Width(), Map.Height());
    TModified request;
    request.Layer = Layer;
    request.Target = target;
    request.Source.Active = 1;
    request.SrcPitch = 0;
    request.Data.assign(1, Value);
    return Map.WriteTiledData(request, Limit);
}
