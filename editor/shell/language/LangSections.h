// Every named language section with its keys, for code that walks them all.
#pragma once

#include "DialogTexts.h"
#include "HintTexts.h"
#include "LangEntry.h"
#include "MenuCaptions.h"

#include <span>

struct TLangSection {
    const char *Name;
    std::span<const TLangEntry> Entries;
};

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
    {ExportPictureDialogText::Section, ExportPictureDialogText::All},
};
