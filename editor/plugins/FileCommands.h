// The file commands: Open, Save, Save As, Import, Export, Reload, the save question and the
// command plug-ins, working on the project document through the file plug-ins. The plug-in
// search and the record conversion are in MapFileTransfer and MapRecordConversion; what
// belongs to the window (its layer and parts windows, its views and progress) is reached
// through TFileCommandWindow.
#pragma once

#include "FileCommandWindow.h"
#include "FilePluginHost.h"
#include "RecentDocuments.h"
#include "editor/edit/ProjectDocument.h"

#include <cstdint>
#include <optional>
#include <string>

class TFileCommands
{
public:
    TFileCommands(TProjectDocument &Project, const TFilePluginHost &Plugins,
                  TFileCommandWindow &Window);

    // One file in or out through the plug-ins; false after the message was shown.
    bool OpenFile(const std::string &Path);
    // Open, a drop and the command line: the file becomes the document, under its own name;
    // one that no project format holds keeps no path, so Save asks where to write.
    bool OpenDocument(const std::string &Path);
    bool SaveFile(const std::string &Path, int32_t Mask);
    int32_t PluginProcImport(const std::string &Path, const std::string &PluginFileName);
    int32_t PluginProcExport(const std::string &Path, const std::string &PluginFileName);
    // The file becomes the document's: its name and path, no unsaved changes.
    void SetFileToProject(const std::string &Path);
    // "Save changes to %s?" when the map has unsaved changes; false when the user cancels
    // (or a save that was asked for failed).
    bool SaveMessage();

    bool Open();
    bool Save();
    bool SaveAs();
    bool ImportFile();
    bool Exportfile();
    void OpenMenuItemClick();
    void SaveMenuItemClick();
    void SaveAsMenuItemClick();
    void ImportMenuItemClick();
    void ExportMenuItemClick();
    void ReOpenMenuItemClick();
    // Runs the command plug-in of the given table entry.
    void PluginMenuClick(size_t PluginIndex);

    // File > Recent Files: the save question, then the file as Open opens it.
    bool OpenRecent(const std::string &Path);
    // The newest recent document other than the open one that is still there; a beep when
    // there is none.
    void ReopenClosedMenuItemClick();
    // The documents opened and saved last; the window keeps them in its settings.
    TRecentDocuments &Recent() { return FRecent; }
    const TRecentDocuments &Recent() const { return FRecent; }
    // Where file dialogs start: beside the open document; for a new map in the folder of the
    // last document opened or saved; before any, in the home folder.
    std::string DialogFolder() const;

    std::string OpenDialogFilter(uint32_t Flag) const;
    std::string SaveDialogFilter(uint32_t Flag) const;

    // The window handle's file question for plug-ins, through the dialog seam.
    static int32_t AskOpenFileNameForPlugin(TessellaWindow *Window, const char *Title,
                                            const char *Filter, const char *DefaultExt,
                                            char *Result, uint32_t ResultSize);

private:
    std::optional<std::string> AskFileToSave(int32_t TitleIndex, const char *Title, uint32_t Flag);
    std::optional<std::string> AskFileToOpen(int32_t TitleIndex, const char *Title, uint32_t Flag);

    TProjectDocument &FProject;
    const TFilePluginHost &FPlugins;
    TFileCommandWindow &FWindow;
    int32_t FOpenFilterIndex = 1;
    // The plug-in that read the last file opened is a project format.
    bool FLastReaderIsProject = false;
    TRecentDocuments FRecent;
};
