// The numbered texts with their English defaults: Strings (short texts) and Messages.
#pragma once

#include "LangEntry.h"

namespace LangString
{
inline constexpr TLangText Untitled{0, "Untitled"};
inline constexpr TLangText Cursor{1, "Corsor"};
inline constexpr TLangText Selection{2, "Selection"};
inline constexpr TLangText Display{3, "Display"};
inline constexpr TLangText Error{4, "Error"};
inline constexpr TLangText Information{5, "Infomation"};
inline constexpr TLangText Caution{6, "Caution"};
inline constexpr TLangText Layer{7, "Layer"};
inline constexpr TLangText OpenPartsImage{8, "Open parts image"};
inline constexpr TLangText OutsideMapRange{9, "Outside map range"};
inline constexpr TLangText SelectionNotAvailable{10, "Selection N/A"};
inline constexpr TLangText AllFiles{11, "All Files"};
inline constexpr TLangText OpenFile{12, "Open File"};
inline constexpr TLangText Save{13, "Save"};
inline constexpr TLangText SaveAs{14, "Save As"};
inline constexpr TLangText Import{15, "Import"};
inline constexpr TLangText Export{16, "Export"};
inline constexpr TLangText Parts{17, "Parts"};
inline constexpr TLangText TotalMemory{18, "Total Memory"};
inline constexpr TLangText AvailMemory{19, "Avail Memory"};
inline constexpr TLangText MemoryLoad{20, "Memory Load"};
inline constexpr TLangText CopyOf{21, "Copy of %s"};
inline constexpr TLangText NotAvailable{22, "N/A"};
inline constexpr TLangText LayerOption{23, "Layer option"};
inline constexpr TLangText LayerCount{24, "Layer"};
inline constexpr TLangText Preview{25, "Preview"};
inline constexpr TLangText Select{26, "Select"};
inline constexpr TLangText InvalidParts{27, "Invalid parts"};
inline constexpr TLangText InvisibleParts{28, "Invisible parts"};
inline constexpr TLangText Zoom{29, "Zoom"};
inline constexpr TLangText Pixel{30, "Pixel"};
inline constexpr TLangText ImageAllFiles{31, "All files"};
inline constexpr TLangText AllImages{32, "All images"};

// In index order, without gaps.
inline constexpr TLangText All[] = {
    Untitled,
    Cursor,
    Selection,
    Display,
    Error,
    Information,
    Caution,
    Layer,
    OpenPartsImage,
    OutsideMapRange,
    SelectionNotAvailable,
    AllFiles,
    OpenFile,
    Save,
    SaveAs,
    Import,
    Export,
    Parts,
    TotalMemory,
    AvailMemory,
    MemoryLoad,
    CopyOf,
    NotAvailable,
    LayerOption,
    LayerCount,
    Preview,
    Select,
    InvalidParts,
    InvisibleParts,
    Zoom,
    Pixel,
    ImageAllFiles,
    AllImages,
};
} // namespace LangString

namespace LangMessage
{
inline constexpr TLangText LayerDeletionQuestion{
    0, "The layer deletion cannot cancel. Do you continue?"};
inline constexpr TLangText LayerMergeQuestion{1, "The layer merge cannot cancel. Do you continue?"};
inline constexpr TLangText DiscardChangesQuestion{2, "Do you continue annulling the change to %s?"};
inline constexpr TLangText SaveChangesQuestion{3, "Save changes to %s?"};
inline constexpr TLangText NotEnoughMemory{4, "Not enough memory."};
inline constexpr TLangText MapCannotBeCreated{5, "The map cannot be created."};
inline constexpr TLangText ReadError{6, "The error occurred while reading %s."};
inline constexpr TLangText WriteError{7, "The error occurred while writing %s."};
inline constexpr TLangText MapWidthRange{8, "Please input from 2 to 10000 for a width. "};
inline constexpr TLangText MapHeightRange{9, "Please input from 2 to 10000 for a height. "};
inline constexpr TLangText PartsWidthRange{10, "Please input from 2 to 255 pixel for a width."};
inline constexpr TLangText PartsHeightRange{11, "Please input from 2 to 255 pixel for a height."};
inline constexpr TLangText ByteRange{12, "Please input the integer from 0 to 255."};
inline constexpr TLangText WordRange{13, "Please input the integer from 0 to 65535."};
inline constexpr TLangText CutOffQuestion{14, "Is it all right although some maps are cut off?"};
inline constexpr TLangText LayerCannotBeMade{15, "The layer cannot be made. Not enough memory."};
inline constexpr TLangText LayerCannotBeReproduced{
    16, "The layer cannot be reproduced. Not enough memory."};
inline constexpr TLangText LastLayer{
    17, "The layer cannot be deleted any more. A layer is indispensable for one."};
inline constexpr TLangText LayerMaximum{
    18, "The numbers of layers which can be created are 255 layers. It is over a maximum."};
inline constexpr TLangText HiddenLayer{
    19, "Since the selection layer is not displayed, it cannot edit."};
inline constexpr TLangText PluginCannotBeLoaded{20, "The plug-in cannot be loaded."};
inline constexpr TLangText PluginFunctionMissing{
    21, "The function cannot be acquired from the plug-in."};
inline constexpr TLangText NoFilePlugin{22, "File I/O plug-in was not found."};
inline constexpr TLangText NoReadPlugin{
    23, "The plug-in that supported reading this file was not found."};
inline constexpr TLangText NoWritePlugin{
    24, "The plug-in that supported writing this file was not found."};
inline constexpr TLangText FileNotFound{25, "%s was not found."};
inline constexpr TLangText CannotOpen{26, "Cannot open the %s."};
inline constexpr TLangText TransparentColorQuestion{27,
                                                    "Is this color set as a transparent color?"};
inline constexpr TLangText FatalError{28, "A fatal error occurred!"};
inline constexpr TLangText AssociationExists{29,
                                             "The association already exists. Do you overwrite?"};
inline constexpr TLangText ResultSuccess{30, "Successful"};
inline constexpr TLangText ResultNotSupported{31, "This file is not supported!"};
inline constexpr TLangText ResultNotImplemented{32, "The function is not implemented!"};
inline constexpr TLangText ResultBadParameter{33, "The parameter is abnormal!"};
inline constexpr TLangText ResultBrokenFile{34, "The file is broken!"};
inline constexpr TLangText ResultFileError{35, "File error!"};
inline constexpr TLangText ResultNoMemory{36, "Not enough memory!"};
inline constexpr TLangText ResultCancelled{37, "Processing was aborted!(user cancellation)"};
inline constexpr TLangText ResultInternalError{38, "Internal error!"};
inline constexpr TLangText ResultUndefined{39, "Undefined error!"};
// Not used by any text; a language file still holds the key, because the list ends at
// the first missing one and entry 41 comes after it.
inline constexpr TLangText Unused40{40, ""};
inline constexpr TLangText PartsSizeChanged{
    41, "Parts size was changed. Please load a new parts image that suits the size."};
// The size dialogs refuse sizes below 1: a map or a part needs at least one cell or pixel.
inline constexpr TLangText SizeWidthRange{42, "Please input 1 or more for a width."};
inline constexpr TLangText SizeHeightRange{43, "Please input 1 or more for a height."};
// A map no reader would take back is never handed to a writer.
inline constexpr TLangText MapNotWritable{
    44, "The map cannot be written: its size, layers or bit count are missing."};
inline constexpr TLangText CellsResetQuestion{
    45, "%d cells use parts above 255 and will be reset. Continue?"};
inline constexpr TLangText TemporaryFolderUnusable{
    46, "The map cannot be resized: the temporary folder %s is missing, full or not writable."};

// Entries 47 to 99 are kept free for texts of other work; empty until then.
inline constexpr TLangText Free47{47, ""};
inline constexpr TLangText Free48{48, ""};
inline constexpr TLangText Free49{49, ""};
inline constexpr TLangText Free50{50, ""};
inline constexpr TLangText Free51{51, ""};
inline constexpr TLangText Free52{52, ""};
inline constexpr TLangText Free53{53, ""};
inline constexpr TLangText Free54{54, ""};
inline constexpr TLangText Free55{55, ""};
inline constexpr TLangText Free56{56, ""};
inline constexpr TLangText Free57{57, ""};
inline constexpr TLangText Free58{58, ""};
inline constexpr TLangText Free59{59, ""};
inline constexpr TLangText Free60{60, ""};
inline constexpr TLangText Free61{61, ""};
inline constexpr TLangText Free62{62, ""};
inline constexpr TLangText Free63{63, ""};
inline constexpr TLangText Free64{64, ""};
inline constexpr TLangText Free65{65, ""};
inline constexpr TLangText Free66{66, ""};
inline constexpr TLangText Free67{67, ""};
inline constexpr TLangText Free68{68, ""};
inline constexpr TLangText Free69{69, ""};
inline constexpr TLangText Free70{70, ""};
inline constexpr TLangText Free71{71, ""};
inline constexpr TLangText Free72{72, ""};
inline constexpr TLangText Free73{73, ""};
inline constexpr TLangText Free74{74, ""};
inline constexpr TLangText Free75{75, ""};
inline constexpr TLangText Free76{76, ""};
inline constexpr TLangText Free77{77, ""};
inline constexpr TLangText Free78{78, ""};
inline constexpr TLangText Free79{79, ""};
inline constexpr TLangText Free80{80, ""};
inline constexpr TLangText Free81{81, ""};
inline constexpr TLangText Free82{82, ""};
inline constexpr TLangText Free83{83, ""};
inline constexpr TLangText Free84{84, ""};
inline constexpr TLangText Free85{85, ""};
inline constexpr TLangText Free86{86, ""};
inline constexpr TLangText Free87{87, ""};
inline constexpr TLangText Free88{88, ""};
inline constexpr TLangText Free89{89, ""};
inline constexpr TLangText Free90{90, ""};
inline constexpr TLangText Free91{91, ""};
inline constexpr TLangText Free92{92, ""};
inline constexpr TLangText Free93{93, ""};
inline constexpr TLangText Free94{94, ""};
inline constexpr TLangText Free95{95, ""};
inline constexpr TLangText Free96{96, ""};
inline constexpr TLangText Free97{97, ""};
inline constexpr TLangText Free98{98, ""};
inline constexpr TLangText Free99{99, ""};
// Recovery of unsaved work.
inline constexpr TLangText RecoveredQuestion{100,
                                             "Unsaved changes to %s were recovered. Open them?"};
inline constexpr TLangText RecoveryWriteFailed{
    101, "Unsaved changes cannot be kept for recovery in %s; it is tried again later."};
inline constexpr TLangText RecoveryCopyBroken{102,
                                              "A recovery copy cannot be read; it is kept as %s."};
inline constexpr TLangText RecoveryLater{103, "&Later"};

// In index order, without gaps.
inline constexpr TLangText All[] = {
    LayerDeletionQuestion,
    LayerMergeQuestion,
    DiscardChangesQuestion,
    SaveChangesQuestion,
    NotEnoughMemory,
    MapCannotBeCreated,
    ReadError,
    WriteError,
    MapWidthRange,
    MapHeightRange,
    PartsWidthRange,
    PartsHeightRange,
    ByteRange,
    WordRange,
    CutOffQuestion,
    LayerCannotBeMade,
    LayerCannotBeReproduced,
    LastLayer,
    LayerMaximum,
    HiddenLayer,
    PluginCannotBeLoaded,
    PluginFunctionMissing,
    NoFilePlugin,
    NoReadPlugin,
    NoWritePlugin,
    FileNotFound,
    CannotOpen,
    TransparentColorQuestion,
    FatalError,
    AssociationExists,
    ResultSuccess,
    ResultNotSupported,
    ResultNotImplemented,
    ResultBadParameter,
    ResultBrokenFile,
    ResultFileError,
    ResultNoMemory,
    ResultCancelled,
    ResultInternalError,
    ResultUndefined,
    Unused40,
    PartsSizeChanged,
    SizeWidthRange,
    SizeHeightRange,
    MapNotWritable,
    CellsResetQuestion,
    TemporaryFolderUnusable,
    Free47,
    Free48,
    Free49,
    Free50,
    Free51,
    Free52,
    Free53,
    Free54,
    Free55,
    Free56,
    Free57,
    Free58,
    Free59,
    Free60,
    Free61,
    Free62,
    Free63,
    Free64,
    Free65,
    Free66,
    Free67,
    Free68,
    Free69,
    Free70,
    Free71,
    Free72,
    Free73,
    Free74,
    Free75,
    Free76,
    Free77,
    Free78,
    Free79,
    Free80,
    Free81,
    Free82,
    Free83,
    Free84,
    Free85,
    Free86,
    Free87,
    Free88,
    Free89,
    Free90,
    Free91,
    Free92,
    Free93,
    Free94,
    Free95,
    Free96,
    Free97,
    Free98,
    Free99,
    RecoveredQuestion,
    RecoveryWriteFailed,
    RecoveryCopyBroken,
    RecoveryLater,
};
} // namespace LangMessage
