#include "ProjectSettingsRecord.h"

#include "TextEncoding.h"

#include <algorithm>

void WriteEditorFields(const TProjectSettings &Settings, PluginMapRecord &Record)
{
    std::copy(std::begin(Settings.EditorFlags), std::end(Settings.EditorFlags),
              std::begin(Record.EditorFlags));
    Record.TransEnabled = Settings.TransEnabled;
    Record.TransColor = Settings.TransColor;
    Record.TransReserved = Settings.TransReserved;
    Record.UseInvisiblePart = Settings.UseInvisiblePart;
    Record.InvisiblePart = Settings.InvisiblePart;
    Record.InvisibleReserved = Settings.InvisibleReserved;
    Record.GridColor = Settings.GridColor;
    Record.AGridColor = Settings.AGridColor;
    Record.Zoom = Settings.Zoom;
}

TProjectSettings ReadProjectSettings(const PluginMapRecord &Record)
{
    TProjectSettings settings;
    settings.PathMode = Record.PathMode;
    settings.AlignFlags = Record.AlignFlags;
    std::copy(std::begin(Record.EditorFlags), std::end(Record.EditorFlags),
              std::begin(settings.EditorFlags));
    settings.TransEnabled = Record.TransEnabled;
    settings.TransColor = Record.TransColor;
    settings.TransReserved = Record.TransReserved;
    settings.UseInvisiblePart = Record.UseInvisiblePart;
    settings.InvisiblePart = Record.InvisiblePart;
    settings.InvisibleReserved = Record.InvisibleReserved;
    settings.GridColor = Record.GridColor;
    settings.AGridColor = Record.AGridColor;
    settings.Zoom = Record.Zoom;
    if (Record.Comment != nullptr)
        settings.Comment = SystemTextToUtf8(Record.Comment);
    if (Record.HiddenData != nullptr)
        settings.HiddenBlock.assign(Record.HiddenData, Record.HiddenData + Record.HiddenSize);
    return settings;
}
