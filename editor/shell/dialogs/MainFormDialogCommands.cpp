// The main window's dialog commands outside the map operations: New, Project Options,
// Options (the environment) and Version Info.
#include "AboutBox.h"
#include "EnvPrefsForm.h"
#include "NewDialog.h"
#include "PrefsForm.h"
#include "editor/edit/EditController.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/DialogRunner.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QCoreApplication>

#ifndef TESSELLA_FILE_VERSION
#define TESSELLA_FILE_VERSION "0.0.0.0"
#endif

void TMainForm::NewMenuItemClick()
{
    if (MapDocument() == nullptr || !FFiles->SaveMessage())
        return;
    TNewDialog dialog(this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    const TNewMapChoice choice = dialog.Choice();
    FEdit->UnSelect(true);
    CreateNewMap(choice.MapWidth, choice.MapHeight, choice.LayerCount, choice.PartsWidth,
                 choice.PartsHeight, choice.BitCount, choice.FixedAlignment);
}

void TMainForm::ProjectMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TProjectOptions options;
    options.RelativePaths = FProject.RelativePaths();
    options.UseInvisiblePart = UseInvisiblePart();
    options.InvisiblePart = InvisiblePart();
    options.Comment = FProject.Comment();
    TPrefsForm dialog(options, map->BitCount(), this);
    if (RunModal(dialog) == QDialog::Accepted) {
        const TProjectOptions chosen = dialog.Options();
        SetInvisiblePart(chosen.UseInvisiblePart, chosen.InvisiblePart);
        FProject.SetComment(chosen.Comment);
        FProject.SetRelativePaths(chosen.RelativePaths);
        map->SetModified();
        UpdateTitle();
        ToolButtonMediator();
    }
    RedrawAll();
    if (FChipForm != nullptr)
        FChipForm->update();
}

void TMainForm::OptionMenuItemClick()
{
    TSusiePluginHost *susie = FChipForm != nullptr && FChipForm->Table() != nullptr
                                  ? &FChipForm->Table()->SusiePlugins()
                                  : nullptr;
    TEnvPrefsForm dialog({FView.GridColor, FView.AGridColor, FView.NumberColor}, *FPlugins, susie,
                         &FWindowHandle, this);
    if (RunModal(dialog) == QDialog::Accepted) {
        const TEnvColors colors = dialog.Colors();
        FView.GridColor = colors.Grid;
        FView.AGridColor = colors.CursorGrid;
        FView.NumberColor = colors.Number;
        if (TMap *map = MapDocument())
            map->SetModified();
        UpdateTitle();
        ToolButtonMediator();
    }
    RedrawAll();
    if (FChipForm != nullptr)
        FChipForm->update();
}

void TMainForm::VersionMenuItemClick()
{
    TAboutInfo info;
    info.FileVersion = TESSELLA_FILE_VERSION;
    for (const TPluginList &entry : FPlugins->PluginList())
        info.PluginNames.push_back(SystemTextToUtf8(entry.Description()));
    if (FChipForm != nullptr && FChipForm->Table() != nullptr)
        for (const TSusiePluginList &plugin : FChipForm->Table()->SusiePlugins().Plugins())
            info.PluginNames.push_back(plugin.Info.Name);
    info.LanguageNames = LanguageNames(LanguageCatalogue().LanguageFiles());
    info.Language = ReadLanguageName(SettingsFile());
    info.Memory = ReadMemoryStatus();
    TFileAssociations associations(TXdgFolders::FromEnvironment(),
                                   QCoreApplication::applicationFilePath().toStdString());
    TAboutBox box(info, associations, this);
    RunModal(box);
}
