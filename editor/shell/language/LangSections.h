// Every named language section with its keys, for code that walks them all.
#pragma once

#include "DialogTexts.h"
#include "HintTexts.h"
#include "LangEntry.h"
#include "MenuCaptions.h"
#include "editor/parts/TerrainTexts.h"

#include <array>
#include <iterator>

#include <span>

struct TLangSection {
    const char *Name;
    std::span<const TLangEntry> Entries;
};

// The parts window's terrain texts as entries of their section.
inline constexpr auto TerrainLangEntries = [] {
    std::array<TLangEntry, std::size(TerrainText::All)> entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = {TerrainText::Section, TerrainText::All[i].Key, TerrainText::All[i].Default};
    return entries;
}();

inline constexpr TLangSection NamedLangSections[] = {
    {MainMenuText::Section, MainMenuText::All},
    {HintText::Section, HintText::All},
    {NewDialogText::Section, NewDialogText::All},
    {AboutDialogText::Section, AboutDialogText::All},
    {ProjectDialogText::Section, ProjectDialogText::All},
    {OptionDialogText::Section, OptionDialogText::All},
    {LayerDialogText::Section, LayerDialogText::All},
    {LayerPopupMenuText::Section, LayerPopupMenuText::All},
    {FillDialogText::Section, FillDialogText::All},
    {ResizeDialogText::Section, ResizeDialogText::All},
    {PartsResizeDialogText::Section, PartsResizeDialogText::All},
    {ScrollDialogText::Section, ScrollDialogText::All},
    {ReplaceDialogText::Section, ReplaceDialogText::All},
    {BitCountDialogText::Section, BitCountDialogText::All},
    {TerrainText::Section, TerrainLangEntries},
    {ExportPictureDialogText::Section, ExportPictureDialogText::All},
};
