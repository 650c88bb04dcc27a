// The texts of the editor's dialogs and the layer list's context menu, one language
// section per dialog, with their English texts. "&" marks the access key.
#pragma once

#include "LangEntry.h"

namespace NewDialogText
{
inline constexpr const char *Section = "NewDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "New map"};
inline constexpr TLangEntry MapWidth{Section, "static_mapwidth", "Map &width:"};
inline constexpr TLangEntry MapHeight{Section, "static_mapheight", "Map &height:"};
inline constexpr TLangEntry PartsWidth{Section, "static_patrswidth", "Parts w&idth:"};
inline constexpr TLangEntry PartsHeight{Section, "static_patrsheight", "Parts h&eight:"};
inline constexpr TLangEntry Size{Section, "static_size", "Data size:"};
inline constexpr TLangEntry Align{Section, "static_align", "Parts Alignment:"};
inline constexpr TLangEntry Bits8{Section, "radio_8bit", "&8bit"};
inline constexpr TLangEntry Bits16{Section, "radio_16bit", "&16bit"};
inline constexpr TLangEntry Fixed{Section, "check_fixed", "&Fixed"};
inline constexpr TLangEntry Layers{Section, "static_layers", "&Layers:"};

inline constexpr TLangEntry All[] = {
    Caption, MapWidth, MapHeight, PartsWidth, PartsHeight, Size,
    Align,   Bits8,    Bits16,    Fixed,      Layers,
};
} // namespace NewDialogText

namespace AboutDialogText
{
inline constexpr const char *Section = "AboutDialog";
inline constexpr TLangEntry MemoryGroup{Section, "group_memory", "Memory info"};
inline constexpr TLangEntry LanguagesGroup{Section, "static_1", "Languages"};
inline constexpr TLangEntry PluginsGroup{Section, "static_2", "Plugins"};
inline constexpr TLangEntry RestartNote{Section, "static_3", "*Enable to restart"};
inline constexpr TLangEntry CreateTzpAssociation{Section, "button1_text1",
                                                 "Createtzpfile association"};
inline constexpr TLangEntry RemoveTzpAssociation{Section, "button1_text2",
                                                 "Removetzpfile association"};
inline constexpr TLangEntry CreateFmfAssociation{Section, "button2_text1",
                                                 "Createfmffile association"};
inline constexpr TLangEntry RemoveFmfAssociation{Section, "button2_text2",
                                                 "Removefmffile association"};

inline constexpr TLangEntry All[] = {
    MemoryGroup,          LanguagesGroup,       PluginsGroup,         RestartNote,
    CreateTzpAssociation, RemoveTzpAssociation, CreateFmfAssociation, RemoveFmfAssociation,
};
} // namespace AboutDialogText

namespace ProjectDialogText
{
inline constexpr const char *Section = "ProjectDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Project Option"};
inline constexpr TLangEntry GenericPage{Section, "Tab_Generic", "Generic"};
inline constexpr TLangEntry CommentPage{Section, "Tab_Commnet", "Comments"};
inline constexpr TLangEntry PathGroup{Section, "Group_Path", "Include Path"};
inline constexpr TLangEntry FileNameOnly{Section, "Radio_Filename", "&Filename onry"};
inline constexpr TLangEntry RelativePath{Section, "Radio_relative", "&Relative path from *.tzp"};
inline constexpr TLangEntry InvisiblePart{Section, "Check_Invisivle", "&Enable invisible patrs"};
inline constexpr TLangEntry InvisibleNumber{Section, "Static_Number", "Patrs &number:"};

inline constexpr TLangEntry All[] = {
    Caption,      GenericPage,  CommentPage,   PathGroup,
    FileNameOnly, RelativePath, InvisiblePart, InvisibleNumber,
};
} // namespace ProjectDialogText

namespace OptionDialogText
{
inline constexpr const char *Section = "OptionDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Option"};
inline constexpr TLangEntry NumberColor{Section, "Static_Number", "Data number color:"};
inline constexpr TLangEntry GridColor{Section, "Static_Grid", "Grid color:"};
inline constexpr TLangEntry CursorGridColor{Section, "Static_CGrid", "Cursor grid color:"};
inline constexpr TLangEntry GridPage{Section, "Tab_Grid", "Grid"};
inline constexpr TLangEntry PluginPage{Section, "Tab_Plugin", "Plugins"};
inline constexpr TLangEntry SettingButton{Section, "Button_setting", "setting..."};

inline constexpr TLangEntry All[] = {
    Caption, NumberColor, GridColor, CursorGridColor, GridPage, PluginPage, SettingButton,
};
} // namespace OptionDialogText

namespace LayerDialogText
{
inline constexpr const char *Section = "LayerDialog";
inline constexpr TLangEntry NewLayerCaption{Section, "dialog1", "New Layer"};
inline constexpr TLangEntry Name{Section, "static_name", "&Layer name"};
inline constexpr TLangEntry PartsImage{Section, "static_set", "&Parts image"};
inline constexpr TLangEntry DuplicateCaption{Section, "dialog2", "Duplicate layer"};
inline constexpr TLangEntry Source{Section, "static_orgn", "&Duplicate from:"};
inline constexpr TLangEntry NewName{Section, "static_newname", "&New name:"};
inline constexpr TLangEntry Browse{Section, "button_browse", "&Browse..."};

inline constexpr TLangEntry All[] = {
    NewLayerCaption, Name, PartsImage, DuplicateCaption, Source, NewName, Browse,
};
} // namespace LayerDialogText

namespace LayerPopupMenuText
{
inline constexpr const char *Section = "LayerPopupMenu";
inline constexpr TLangEntry Duplicate{Section, "dup", "Dup..."};
inline constexpr TLangEntry Erase{Section, "erase", "Erase"};
inline constexpr TLangEntry Merge{Section, "merge", "Merge"};
inline constexpr TLangEntry Option{Section, "option", "Option..."};

inline constexpr TLangEntry All[] = {
    Duplicate,
    Erase,
    Merge,
    Option,
};
} // namespace LayerPopupMenuText

namespace FillDialogText
{
inline constexpr const char *Section = "FillDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Fill"};
inline constexpr TLangEntry FillGroup{Section, "group_fill", "&Fill type"};
inline constexpr TLangEntry SelectedParts{Section, "combo_type1", "Selected parts/Pattern"};
inline constexpr TLangEntry InvisibleParts{Section, "combo_type2", "Invisible parts"};

inline constexpr TLangEntry All[] = {
    Caption,
    FillGroup,
    SelectedParts,
    InvisibleParts,
};
} // namespace FillDialogText

namespace ResizeDialogText
{
inline constexpr const char *Section = "ResizeDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Resize"};
inline constexpr TLangEntry Before{Section, "group_before", "Bfore"};
inline constexpr TLangEntry Width{Section, "static_width", "&Width:"};
inline constexpr TLangEntry Height{Section, "static_height", "&Height:"};
inline constexpr TLangEntry After{Section, "group_after", "After"};

inline constexpr TLangEntry All[] = {
    Caption, Before, Width, Height, After,
};
} // namespace ResizeDialogText

namespace PartsResizeDialogText
{
inline constexpr const char *Section = "PartsResizeDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Parts Resize"};
inline constexpr TLangEntry Before{Section, "group_before", "Bfore"};
inline constexpr TLangEntry Width{Section, "static_width", "&Width:"};
inline constexpr TLangEntry Height{Section, "static_height", "&Height:"};
inline constexpr TLangEntry After{Section, "group_after", "After"};

inline constexpr TLangEntry All[] = {
    Caption, Before, Width, Height, After,
};
} // namespace PartsResizeDialogText

namespace ScrollDialogText
{
inline constexpr const char *Section = "ScrollDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Scroll"};
inline constexpr TLangEntry Horizontal{Section, "edit_h", "&Horizontal"};
inline constexpr TLangEntry Vertical{Section, "edit_v", "&Vertical"};
inline constexpr TLangEntry AllLayers{Section, "radio_all", "&All Layers"};
inline constexpr TLangEntry CurrentLayer{Section, "radio_current", "&Current layer only"};

inline constexpr TLangEntry All[] = {
    Caption, Horizontal, Vertical, AllLayers, CurrentLayer,
};
} // namespace ScrollDialogText

namespace ReplaceDialogText
{
inline constexpr const char *Section = "ReplaceDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Replace"};
inline constexpr TLangEntry Search{Section, "static_search", "&Search Number:"};
inline constexpr TLangEntry Replacement{Section, "static_replace", "&Replace Number:"};

inline constexpr TLangEntry All[] = {
    Caption,
    Search,
    Replacement,
};
} // namespace ReplaceDialogText

namespace BitCountDialogText
{
inline constexpr const char *Section = "BitCountDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Change BitCount"};
inline constexpr TLangEntry Before{Section, "group_before", "Bfore"};
inline constexpr TLangEntry BitCount{Section, "label_bitcount", "&Bitcount:"};
inline constexpr TLangEntry Alignment{Section, "label_fixed", "&Parts Alignments:"};
inline constexpr TLangEntry Fixed{Section, "checkbox_align", "&Fixed:"};
inline constexpr TLangEntry After{Section, "group_after", "After"};
inline constexpr TLangEntry Comment{Section, "comment", "(A transparent part number is reset.)"};

inline constexpr TLangEntry All[] = {
    Caption, Before, BitCount, Alignment, Fixed, After, Comment,
};
} // namespace BitCountDialogText

namespace ExportPictureDialogText
{
inline constexpr const char *Section = "ExportPictureDialog";
inline constexpr TLangEntry Caption{Section, "dialog", "Export Picture"};
inline constexpr TLangEntry ZoomLabel{Section, "static_zoom", "&Zoom:"};
inline constexpr TLangEntry SelectionOnly{Section, "check_selection", "&Selection only"};

inline constexpr TLangEntry All[] = {Caption, ZoomLabel, SelectionOnly};
} // namespace ExportPictureDialogText
