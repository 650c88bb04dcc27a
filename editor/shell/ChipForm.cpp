#include "ChipForm.h"

#include "Language.h"
#include "LayerForm.h"
#include "MainForm.h"
#include "MapDocument.h"
#include "Settings.h"
#include "SettingsFile.h"

#include <QLabel>
#include <filesystem>

TChipForm::TChipForm(TMainForm *owner, const std::string &programFolder)
    : TToolWindow(owner, QString::fromStdString(GetLangString(17, "Parts"))), FOwner(owner),
      FProgramFolder(programFolder)
{
    SetContent(new QLabel);
}

TChipForm::~TChipForm()
{
    if (FTable)
        FTable->FreeAllChips();
}

void TChipForm::Init()
{
    TMap *map = MapDocument();
    if (FTable)
        FTable->FreeAllChips();
    FTable.reset();
    if (map == nullptr)
        return;
    // The table refers to the map document, which a new map replaces.
    FTable = std::make_unique<TChipTable>(*map, *this);
    std::vector<TSusieSetting> settings;
    for (const std::string &name : ReadImagePluginOrder(SettingsFile()))
        settings.push_back({name, ReadImagePluginEnabled(SettingsFile(), name)});
    FTable->Init("Plugins", FProgramFolder, settings);
    FTable->SusiePlugins().SetProgress(FOwner->ProgressCallback());
}

bool TChipForm::AddMapChip(const std::string &fileName)
{
    if (!FTable)
        Init();
    if (!FTable)
        return false;
    const bool added = FTable->AddMapChip(fileName);
    if (added)
        FOwner->RedrawAll();
    return added;
}

bool TChipForm::SetCurrentData(TModified &Request) const
{
    if (MapDocument() == nullptr || !FSelection.Active)
        return false;
    const int32_t columns = FTable && FTable->ChipAlignX() > 0 ? FTable->ChipAlignX() : 16;
    Request.Source = FSelection;
    Request.SrcPitch = FSelection.DX;
    Request.Data.resize(static_cast<size_t>(FSelection.DX + 1) *
                        static_cast<size_t>(FSelection.DY + 1));
    for (int32_t i = 0; i <= FSelection.DY; ++i)
        for (int32_t j = 0; j <= FSelection.DX; ++j)
            Request.Data[static_cast<size_t>(j + (FSelection.DX + 1) * i)] =
                static_cast<uint16_t>((i + FSelection.Y) * columns + j + FSelection.X);
    return true;
}

void TChipForm::Selectchip(int32_t ChipNumber)
{
    if (ChipNumber < 0) {
        FSelection.Active = 0;
        return;
    }
    const int32_t columns = FTable && FTable->ChipAlignX() > 0 ? FTable->ChipAlignX() : 16;
    FSelection = {1, ChipNumber % columns, ChipNumber / columns, 0, 0, ChipNumber};
}

void TChipForm::SelectchipAxial(int32_t) {}

bool TChipForm::GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                                 int32_t &Y) const
{
    if (!FTable)
        return false;
    return FTable->GetImagePosition(ChipNumber, LayerIndex, X, Y);
}

int32_t TChipForm::CurrentLayer() const
{
    return FOwner->LayerForm() != nullptr ? FOwner->LayerForm()->GetCurrentLayerIndex() : -1;
}

bool TChipForm::UseFixedAlignment() const
{
    return FOwner->FixedAlignment();
}

std::string TChipForm::ProjectFolder() const
{
    if (FOwner->DocumentPath.empty())
        return std::string();
    return std::filesystem::path(FOwner->DocumentPath).parent_path().string();
}
