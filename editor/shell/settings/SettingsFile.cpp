#include "SettingsFile.h"

#include "SettingsLocation.h"

namespace
{
TIniFile settingsFile;
}

bool OpenSettingsFile(const std::string &programFolder)
{
    settingsFile.SetFileName(SettingsFileLocation(programFolder));
    return settingsFile.Load() != TIniReadResult::Failed;
}

void CloseSettingsFile()
{
    settingsFile.Clear();
    settingsFile.SetFileName({});
}

TIniFile &SettingsFile()
{
    return settingsFile;
}

bool SaveSettingsFile()
{
    return settingsFile.UpdateFile();
}
