#include "HeadlessMap.h"

#include "editor/plugins/MapFileTransfer.h"
#include "editor/plugins/PluginNotice.h"

#include <algorithm>
#include <filesystem>

namespace
{

// Plug-ins that ask the user for a file get no answer: there is no window to ask in.
intptr_t NoMessage(TessellaWindow *, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}
int32_t NoFileChosen(TessellaWindow *, const char *, const char *, const char *, char *, uint32_t)
{
    return 0;
}

} // namespace

TessellaWindow HeadlessWindow()
{
    TessellaWindow window{};
    window.StructSize = sizeof window;
    window.SendMessage = NoMessage;
    window.AskOpenFileName = NoFileChosen;
    // Notices reach standard error through the command line's dialog seam.
    window.ShowNotice = ShowPluginNotice;
    return window;
}

int32_t QuietProgress(int32_t, int32_t, const char *)
{
    return 1;
}

class THeadlessMap::TTarget : public TImportTarget
{
public:
    explicit TTarget(THeadlessMap &Owner) : FOwner(Owner) {}

    void ResetLayers(const PluginMapRecord &Header) override
    {
        // The alignment decides where parts lie in the images attached below.
        FOwner.FDocument.SetFixedAlignment((Header.AlignFlags & 1) == 0);
        FOwner.FUseInvisiblePart = Header.UseInvisiblePart != 0;
        FOwner.FInvisiblePart = Header.InvisiblePart;
        FOwner.FLayerImages.clear();
        FOwner.FSummaries.clear();
        FOwner.FReferences.clear();
        FOwner.FTable = std::make_unique<TChipTable>(FOwner.FMap, FOwner);
        if (FOwner.FLoadImages)
            FOwner.FTable->Init("Plugins", FOwner.FProgramFolder, {});
    }
    bool AddLayer(const std::string &Name, std::vector<uint16_t> &&Cells) override
    {
        if (FOwner.FUse == THeadlessUse::Describing) {
            const int64_t cells = FOwner.FMap.CellCount();
            int64_t shown = cells;
            if (FOwner.FUseInvisiblePart)
                shown -= std::count(Cells.begin(), Cells.end(), FOwner.FInvisiblePart);
            FOwner.FSummaries.push_back({Name, true, shown});
            FOwner.FLayerImages.emplace_back();
            return true;
        }
        try {
            FOwner.FMap.AddLayer(Name, nullptr, std::move(Cells));
        } catch (const EMapAbort &) {
            return false;
        }
        FOwner.FLayerImages.emplace_back();
        return true;
    }
    void SetLayerVisible(int32_t Index, bool Visible) override
    {
        if (FOwner.FUse == THeadlessUse::Describing)
            FOwner.FSummaries[static_cast<size_t>(Index)].Visible = Visible;
        else
            FOwner.FMap.SetLayerVisible(Index, Visible);
    }
    void AttachPartsImage(int32_t Index, const std::string &Stored,
                          const std::string &Resolved) override
    {
        THeadlessLayerImage &image = FOwner.FLayerImages[static_cast<size_t>(Index)];
        image.Stored = Stored;
        image.Resolved = Resolved;
        if (FOwner.FLoadImages) {
            image.Loaded = FOwner.FTable->AddMapChip(Resolved);
            return;
        }
        if (FOwner.FUse == THeadlessUse::Describing)
            return;
        auto chip = std::make_unique<TMapChip>();
        chip->FileName = Resolved;
        FOwner.FMap.SetLayerChip(Index, chip.get());
        FOwner.FReferences.push_back(std::move(chip));
    }

private:
    THeadlessMap &FOwner;
};

THeadlessMap::THeadlessMap(const std::string &ProgramFolder, THeadlessUse Use)
    : FProgramFolder(ProgramFolder), FUse(Use), FLoadImages(Use == THeadlessUse::Drawing)
{
}

// Layers refer to the images: the map lets go of them before they are freed.
THeadlessMap::~THeadlessMap()
{
    FMap.ClearLayers();
}

bool THeadlessMap::Open(const TFilePluginHost &Plugins, const std::string &Path)
{
    FFolder = std::filesystem::path(Path).parent_path().string();
    TessellaWindow window = HeadlessWindow();
    const TTransferContext context{Plugins, &window, QuietProgress, {}};
    TTarget target(*this);
    const TPluginList *used = OpenThroughPlugins(Plugins, Path, [&](const TPluginList &entry) {
        // What the record is pre-set with; the file's own values replace them.
        return ImportMapFile(context, Path, entry.FileName, FDocument, target, TProjectSettings{});
    });
    if (used == nullptr)
        return false;
    FReaderName = std::filesystem::path(used->FileName).filename().string();
    FDocument.DocumentName = std::filesystem::path(Path).filename().string();
    FDocument.DocumentPath = Path;
    FDocument.DocumentPlugin = FReaderName;
    return true;
}
