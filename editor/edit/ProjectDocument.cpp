#include "ProjectDocument.h"

#include <utility>

TProjectDocument::TProjectDocument(std::function<TMap *()> Map) : FMap(std::move(Map)) {}

TProjectSettings TProjectDocument::Settings() const
{
    TProjectSettings settings = FSettings;
    if (FView != nullptr)
        FView->ReadViewSettings(settings);
    return settings;
}

void TProjectDocument::TakeSettings(const TProjectSettings &Settings)
{
    FSettings = Settings;
    if (FView != nullptr)
        FView->TakeViewSettings(Settings);
}

void TProjectDocument::Reset(const std::string &Untitled, bool FixedAlignment)
{
    DocumentName = Untitled;
    DocumentPath.clear();
    DocumentPlugin.clear();
    FSettings = TProjectSettings{};
    FSettings.AlignFlags = FixedAlignment ? 0 : 1;
}

bool TProjectDocument::IsModified() const
{
    const TMap *map = Map();
    return map != nullptr && map->IsModified();
}
