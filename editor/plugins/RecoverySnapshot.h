// A recovery snapshot: everything a recovery copy holds of the open project, taken on the
// window's thread so that a worker can write it while the user goes on painting.
//
// The cells are the costly part (a 4096 × 4096 map of 16 layers holds 512 MiB). A layer's
// copy is kept from one snapshot to the next and taken again only once the layer's
// revision changed, so a snapshot after a stroke copies the one layer painted on; copies
// are shared with the writer, never changed once made.
#pragma once

#include "RecoveryRecord.h"
#include "editor/edit/ProjectDocument.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TRecoveryLayer {
    std::string Name;
    bool Visible = true;
    std::string PartsImage; // absolute; empty when the layer has none
    uint64_t Revision = 0;
    std::shared_ptr<const std::vector<uint16_t>> Cells; // null in a description

    // Everything but the cells, which the revision stands for.
    bool operator==(const TRecoveryLayer &Other) const
    {
        return Name == Other.Name && Visible == Other.Visible && PartsImage == Other.PartsImage &&
               Revision == Other.Revision;
    }
};

struct TRecoverySnapshot {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t PartsWidth = 0;
    int32_t PartsHeight = 0;
    uint8_t BitCount = 8;
    TProjectSettings Settings;
    std::vector<TRecoveryLayer> Layers;
    TRecoveryRecord Record;

    // The same project state: equal sizes, settings, record and layers (cells by revision).
    bool SameStateAs(const TRecoverySnapshot &Other) const;
};

// What the document is now, without cells: cheap enough to ask often whether anything
// changed since the last copy.
TRecoverySnapshot DescribeProject(const TProjectDocument &Document);

class TRecoverySnapshotTaker
{
public:
    // The description with every layer's cells: copies of the layers that changed since the
    // last snapshot, the last copies of the others.
    TRecoverySnapshot Take(const TProjectDocument &Document);
    // Brings the kept copies up to date a step at a time, so that no single pause on the
    // window's thread copies the whole map: copies layers that changed until about MaxBytes
    // are copied (one layer at least). True once every layer's copy is current, when a Take
    // copies nothing.
    bool CopyAhead(const TProjectDocument &Document, size_t MaxBytes);
    // How many layers the last Take copied.
    size_t CopiedLayers() const { return FCopied; }
    // The kept copies go (the document was saved or replaced).
    void Clear() { FLast.clear(); }

private:
    const TRecoveryLayer *Kept(const TRecoveryLayer &Layer, size_t CellCount) const;

    std::vector<TRecoveryLayer> FLast;
    size_t FCopied = 0;
};
