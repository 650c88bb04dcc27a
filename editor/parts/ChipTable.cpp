#include "ChipTable.h"

#include "FileDate.h"
#include "PictureLoader.h"
#include "TransparentAreas.h"
#include "editor/map/DialogSeam.h"
#include "editor/render/PixelBuffer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace
{

std::string FileNameOnly(const std::string &Path)
{
    return std::filesystem::path(Path).filename().string();
}

// The catalogue's texts carry one "%s".
std::string WithName(std::string Format, const std::string &Name)
{
    const size_t at = Format.find("%s");
    if (at != std::string::npos)
        Format.replace(at, 2, Name);
    return Format;
}

int32_t FixedAlignment(uint8_t BitCount)
{
    int32_t columns = 1;
    for (int32_t i = 0; i < BitCount / 8; ++i)
        columns *= 16;
    return columns;
}

int32_t CeilDiv(int64_t A, int64_t B)
{
    return static_cast<int32_t>((A + B - 1) / B);
}

} // namespace

TChipTable::TChipTable(TMap &Map, TChipTableHost &Host) : FMap(Map), FHost(Host)
{
    BuildOpenFilter();
}

// The map may already be gone when the parts window closes: only the entries are freed.
TChipTable::~TChipTable() = default;

void TChipTable::Init(const std::string &PluginFolder, const std::string &ProgramFolder,
                      const std::vector<TSusieSetting> &SusieSettings)
{
    FChipAlignX = FixedAlignment(FMap.BitCount());
    FChipAlignY = FChipAlignX;
    ReleaseAll();
    FSusie.ScanSusiePlugins(PluginFolder, ProgramFolder, SusieSettings);
    BuildOpenFilter();
}

void TChipTable::BuildOpenFilter()
{
    std::string images = "*.bmp;*.jpg;*.jpeg;*.emf;*.wmf";
    for (const TSusiePluginList &plugin : FSusie.Plugins())
        images += ";" + plugin.Info.Filter;
    FOpenFilter = Dialogs().GetLangString(31, "All files") + "|*.*|" +
                  Dialogs().GetLangString(32, "All images") + "|" + images + "|Bitmap|*.bmp";
    for (const TSusiePluginList &plugin : FSusie.Plugins())
        FOpenFilter += "|" + plugin.Info.Description + "|" + plugin.Info.Filter;
}

void TChipTable::DetachFromLayers(const TMapChip *Chip)
{
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer)
        if (FMap.GetLayerChip(layer) == Chip)
            FMap.ClearLayerChip(layer);
}

void TChipTable::LoadPicture(const std::string &FileName, TPixelBuffer &Bitmap)
{
    if (FSusie.LoadPictureBySusie(FileName, Bitmap))
        return;
    LoadPictureFile(FileName, Bitmap);
}

bool TChipTable::AddMapChip(const std::string &FileName)
{
    if (!FMap.IsReady())
        return false;
    std::string path = FileName;
    if (path.empty()) {
        TFileDialogRequest request;
        request.Filter = FOpenFilter;
        request.FilterIndex = 2;
        request.InitialDir = FHost.ProjectFolder();
        const std::optional<TFileDialogResult> chosen = Dialogs().AskOpenFile(request);
        if (!chosen || chosen->FileName.empty())
            return false;
        path = chosen->FileName;
    }
    const int32_t layer = FHost.CurrentLayer();
    if (!FMap.IsValidLayer(layer))
        return false;

    const int32_t existing = GetNamedIndex(path);
    if (existing >= 0) {
        FMap.SetLayerChip(layer, FChips[static_cast<size_t>(existing)].get());
        UpdateChipAlign();
        return true;
    }
    const std::optional<double> date = FileDateOf(path);
    if (!date) {
        Dialogs().ShowMessageBox(
            mkCaution,
            WithName(Dialogs().GetLangMessage(25, "%s was not found."), FileNameOnly(path)));
        return false;
    }
    try {
        auto chip = std::make_unique<TMapChip>();
        auto image = std::make_unique<TPixelBuffer>();
        LoadPicture(path, *image);
        if (image->IsEmpty())
            throw std::runtime_error("empty picture");
        const bool transparent = HasTransparentAreas(path, *image);
        chip->Image = std::move(image);
        chip->FileName = path;
        chip->FileDate = *date;
        FChips.push_back(std::move(chip));
        FMap.SetLayerChip(layer, FChips.back().get());
        UpdateChipAlign();
        if (transparent)
            FHost.TransparentImageLoaded(path);
        return true;
    } catch (const std::exception &failure) {
        Dialogs().ShowMessageBox(
            mkError,
            WithName(Dialogs().GetLangMessage(26, "Cannot open the %s."), FileNameOnly(path)) +
                "(" + FailureText(failure) + ")");
        return false;
    }
}

bool TChipTable::CloseCurrentImage()
{
    TMapChip *chip = FMap.GetLayerChip(FHost.CurrentLayer());
    if (chip == nullptr)
        return false;
    DetachFromLayers(chip);
    const auto it =
        std::find_if(FChips.begin(), FChips.end(),
                     [chip](const std::unique_ptr<TMapChip> &c) { return c.get() == chip; });
    if (it != FChips.end())
        FChips.erase(it);
    UpdateChipAlign();
    return true;
}

TMapChip *TChipTable::GetMapChipAddr(int32_t Index) const
{
    if (Index < 0 || Index >= GetMapChipCount())
        return nullptr;
    return FChips[static_cast<size_t>(Index)].get();
}

std::string TChipTable::GetMapChipName(int32_t Index) const
{
    const TMapChip *chip = GetMapChipAddr(Index);
    return chip != nullptr ? chip->FileName : std::string();
}

int32_t TChipTable::GetNamedIndex(const std::string &FileName) const
{
    for (size_t i = 0; i < FChips.size(); ++i)
        if (FChips[i]->FileName == FileName)
            return static_cast<int32_t>(i);
    return -1;
}

void TChipTable::GetChipAlignment(uint8_t BitCount, bool UseFixed, int32_t LayerIndex,
                                  int32_t &Columns, int32_t &Rows) const
{
    const int32_t fixed = FixedAlignment(BitCount);
    const TMapChip *chip = FMap.IsReady() ? FMap.GetLayerChip(LayerIndex) : nullptr;
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    if (UseFixed || chip == nullptr || !chip->Image || pw <= 0 || ph <= 0 ||
        chip->Image->ImageWidth() <= 0) {
        Columns = fixed;
        Rows = fixed;
        return;
    }
    const int64_t limit = BitCount == 8 ? 256 : 65536;
    Columns = CeilDiv(chip->Image->ImageWidth(), pw);
    Rows = std::min(CeilDiv(chip->Image->ImageHeight(), ph), CeilDiv(limit, Columns));
}

void TChipTable::UpdateChipAlign()
{
    GetChipAlignment(FMap.BitCount(), FHost.UseFixedAlignment(), FHost.CurrentLayer(), FChipAlignX,
                     FChipAlignY);
}

bool TChipTable::GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                                  int32_t &Y) const
{
    if (!FMap.IsReady())
        return false;
    if (FChipAlignX == 0) {
        X = 0;
        Y = 0;
        return false;
    }
    int32_t columns = 0;
    int32_t rows = 0;
    GetChipAlignment(FMap.BitCount(), FHost.UseFixedAlignment(), LayerIndex, columns, rows);
    if (columns <= 0)
        columns = 1;
    X = FMap.PartsWidth() * (ChipNumber % columns);
    Y = FMap.PartsHeight() * (ChipNumber / columns);
    return true;
}

void TChipTable::FreeAllChips()
{
    FChips.clear();
}

void TChipTable::ReleaseAll()
{
    for (const std::unique_ptr<TMapChip> &chip : FChips)
        DetachFromLayers(chip.get());
    FreeAllChips();
}

TChipChangeCheck TChipTable::CheckMapChipChanged()
{
    TChipChangeCheck result;
    try {
        for (const std::unique_ptr<TMapChip> &chip : FChips) {
            const std::optional<double> date = FileDateOf(chip->FileName);
            if (!date) {
                // The picture stays in memory; only a current layer showing the vanished
                // file loses it, and the other entries are still checked.
                const int32_t layer = FHost.CurrentLayer();
                if (FMap.GetLayerChip(layer) == chip.get()) {
                    FMap.ClearLayerChip(layer);
                    result.Detached = true;
                }
                continue;
            }
            if (*date == chip->FileDate)
                continue;
            // Read into a new buffer first, so a failed read keeps the old picture.
            auto image = std::make_unique<TPixelBuffer>();
            LoadPicture(chip->FileName, *image);
            chip->Image = std::move(image);
            chip->FileDate = *date;
            result.Reloaded = true;
        }
    } catch (const std::exception &failure) {
        Dialogs().ShowMessageBox(mkError, std::string("パーツ画像を開けません (") +
                                              FailureText(failure) + ")");
    }
    if (result.Reloaded)
        UpdateChipAlign();
    return result;
}
