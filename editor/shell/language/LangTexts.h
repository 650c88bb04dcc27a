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
inline constexpr TLangText TransparentAreasQuestion{
    47, "%s has transparent areas. Use them as the transparent colour?"};
inline constexpr TLangText CellsReplaced{48, "%d cells replaced"};
inline constexpr TLangText PartNotInLayer{49, "Part %d is not in this layer."};
inline constexpr TLangText EmptyPartsWindowHint{
    50, "Open a parts image with the first button, or drop an image file here"};
inline constexpr TLangText LayerCountRange{51,
                                           "Please input from 1 to 255 for the number of layers."};
inline constexpr TLangText PictureTooLarge{52,
                                           "The picture is too large to be written at this zoom."};

// Recovery of unsaved work.
inline constexpr TLangText RecoveredQuestion{53,
                                             "Unsaved changes to %s were recovered. Open them?"};
inline constexpr TLangText RecoveryWriteFailed{
    54, "Unsaved changes cannot be kept for recovery in %s; it is tried again later."};
inline constexpr TLangText RecoveryCopyBroken{55,
                                              "A recovery copy cannot be read; it is kept as %s."};
inline constexpr TLangText RecoveryLater{56, "&Later"};

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
    TransparentAreasQuestion,
    CellsReplaced,
    PartNotInLayer,
    EmptyPartsWindowHint,
    LayerCountRange,
    PictureTooLarge,
    RecoveredQuestion,
    RecoveryWriteFailed,
    RecoveryCopyBroken,
    RecoveryLater,
};
} // namespace LangMessage
