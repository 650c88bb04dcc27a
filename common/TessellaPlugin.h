/* The file plug-in interface shared by the editor and every file plug-in.
 *
 * The records below cross the boundary between separately built programs, so they are
 * packed, little-endian and keep their fields in this exact order. Pointers take the
 * platform's size: the records are 260 / 62 / 13 bytes on 32-bit targets and
 * 260 / 74 / 25 bytes on 64-bit targets. Files never hold these records with pointers.
 *
 * Usable from C (C11) and C++. */
#ifndef TESSELLA_COMMON_TESSELLA_PLUGIN_H
#define TESSELLA_COMMON_TESSELLA_PLUGIN_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#ifdef __cplusplus
extern "C" {
#define TESSELLA_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TESSELLA_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* Capability bits of FilePluginInfo.Flags. */
enum {
    pfImport = 1,       /* listed in File > Import */
    pfExport = 2,       /* listed in File > Export */
    pfProject = 4,      /* project format: Open, Save, Save As */
    pfConfigDialog = 8, /* exports ConfigurationDlg */
    pfCommand = 16      /* Flags == pfCommand exactly: a Plug-in menu item calling Command */
};

/* Results of Import, Export and IsSupported. The host shows message 30 + code. */
enum {
    prSuccess = 0,
    prNotSupported = 1,
    prNotImplemented = 2,
    prBadParameter = 3,
    prBrokenFile = 4,
    prFileError = 5,
    prNoMemory = 6,
    prCancelled = 7,
    prInternalError = 8
};

/* Length of each text field of FilePluginInfo. */
#define FILE_PLUGIN_TEXT_SIZE 128
/* Bytes 0..19 of PluginMapRecord: the map header that project files store verbatim. */
#define PLUGIN_MAP_HEADER_SIZE 20

#pragma pack(push, 1)

typedef struct FilePluginInfo {
    char Description[FILE_PLUGIN_TEXT_SIZE]; /* NUL-terminated when shorter than 128 bytes */
    char Filter[FILE_PLUGIN_TEXT_SIZE];      /* "Label|pattern" */
    uint32_t Flags;                          /* pf* bits */
} FilePluginInfo;

typedef struct PluginLayerRecord {
    char *Name;       /* NUL-terminated; may be null on import */
    char *PartsImage; /* NUL-terminated reference, or null when the layer has none */
    uint8_t Visible;  /* non-zero: shown */
    uint16_t *Cells;  /* Width * Height values, row-major */
} PluginLayerRecord;

typedef struct PluginMapRecord {
    uint32_t Width;
    uint32_t Height;
    uint32_t PartsWidth;
    uint32_t PartsHeight;
    uint8_t LayerCount;
    uint8_t BitCount;   /* 8 or 16 */
    uint8_t PathMode;   /* 0: file name only, 1: relative to the map file */
    uint8_t AlignFlags; /* bit 0: parts alignment not fixed; 255: placeholder of old files */
    PluginLayerRecord *Layers;
    uint8_t EditorFlags[6]; /* ShowGrid, ShowNumber, reserved, ShowCGrid, ShowMarker, FogMode */
    uint8_t TransEnabled;
    uint32_t TransColor; /* 0x00BBGGRR */
    uint8_t TransReserved;
    uint8_t UseInvisiblePart;
    uint16_t InvisiblePart;
    uint8_t InvisibleReserved;
    uint32_t GridColor;  /* 0x00BBGGRR */
    uint32_t AGridColor; /* 0x00BBGGRR */
    uint16_t Zoom;       /* 1/256 steps: 256 = 100 % */
    char *Comment;       /* NUL-terminated, or null */
    uint32_t HiddenSize;
    uint8_t *HiddenData; /* opaque pass-through block, or null */
} PluginMapRecord;

#pragma pack(pop)

TESSELLA_STATIC_ASSERT(sizeof(FilePluginInfo) == 260, "FilePluginInfo layout");
TESSELLA_STATIC_ASSERT(offsetof(FilePluginInfo, Flags) == 256, "FilePluginInfo layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, Layers) == 20, "PluginMapRecord layout");

#if UINTPTR_MAX == 0xFFFFFFFFu
TESSELLA_STATIC_ASSERT(sizeof(PluginMapRecord) == 62, "PluginMapRecord layout (32-bit)");
TESSELLA_STATIC_ASSERT(sizeof(PluginLayerRecord) == 13, "PluginLayerRecord layout (32-bit)");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, EditorFlags) == 24, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, TransColor) == 31, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, InvisiblePart) == 37, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, GridColor) == 40, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, Zoom) == 48, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, Comment) == 50, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, HiddenSize) == 54, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, HiddenData) == 58, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginLayerRecord, Visible) == 8, "32-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginLayerRecord, Cells) == 9, "32-bit layout");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
TESSELLA_STATIC_ASSERT(sizeof(PluginMapRecord) == 74, "PluginMapRecord layout (64-bit)");
TESSELLA_STATIC_ASSERT(sizeof(PluginLayerRecord) == 25, "PluginLayerRecord layout (64-bit)");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, EditorFlags) == 28, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, TransEnabled) == 34, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, TransColor) == 35, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, TransReserved) == 39, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, UseInvisiblePart) == 40, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, InvisiblePart) == 41, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, InvisibleReserved) == 43, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, GridColor) == 44, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, AGridColor) == 48, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, Zoom) == 52, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, Comment) == 54, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, HiddenSize) == 62, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginMapRecord, HiddenData) == 66, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginLayerRecord, PartsImage) == 8, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginLayerRecord, Visible) == 16, "64-bit layout");
TESSELLA_STATIC_ASSERT(offsetof(PluginLayerRecord, Cells) == 17, "64-bit layout");
#else
#error "Unsupported pointer size"
#endif

/* The editor's window handle as plug-ins see it: the services a plug-in may ask of the
 * editor. An ordinary (not packed) record owned by the editor. */
typedef struct TessellaWindow TessellaWindow;
struct TessellaWindow {
    uint32_t StructSize; /* sizeof(TessellaWindow) */
    void *Host;          /* the editor's own pointer; plug-ins never touch it */
    intptr_t (*SendMessage)(TessellaWindow *window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);
    /* Asks the user for an existing file; filter is "Label|pattern"; result gets the full
     * path. Returns non-zero when a file was chosen, 0 when the user cancelled. */
    int32_t (*AskOpenFileName)(TessellaWindow *window, const char *title, const char *filter,
                               const char *defaultExt, char *result, uint32_t resultSize);
    /* Shows the user one notice from the plug-in (what a file held that the map cannot,
     * what is wrong with a file it refuses). Added after the first hosts: present only when
     * StructSize covers it, and may be null; ask TessellaCanShowNotice before calling. */
    void (*ShowNotice)(TessellaWindow *window, const char *text);
};

TESSELLA_STATIC_ASSERT(offsetof(TessellaWindow, AskOpenFileName) + sizeof(void *) ==
                           offsetof(TessellaWindow, ShowNotice),
                       "ShowNotice follows AskOpenFileName");

/* Whether the host's window record offers ShowNotice: records of older hosts end before
 * it, so its size is checked before the member is read. */
static inline int TessellaCanShowNotice(const TessellaWindow *window)
{
    return window != NULL &&
           window->StructSize >=
               offsetof(TessellaWindow, ShowNotice) + sizeof(window->ShowNotice) &&
           window->ShowNotice != NULL;
}

/* Progress callback: non-zero means go on. */
typedef int32_t (*ProgressProc)(int32_t Position, int32_t Total, const char *Message);

/* Entry points, looked up by these names: "GetApiVersion", "GetTessellaPluginInfo",
 * "IsSupported", "Import", "Export", "ConfigurationDlg" (optional), "Command" (optional). */
typedef int32_t (*FilePluginGetApiVersionProc)(void);
typedef void (*FilePluginGetInfoProc)(FilePluginInfo *info);
typedef int32_t (*FilePluginIsSupportedProc)(const char *path);
typedef int32_t (*FilePluginImportProc)(TessellaWindow *window, const char *path,
                                        PluginMapRecord *record, ProgressProc progress);
typedef int32_t (*FilePluginExportProc)(TessellaWindow *window, const char *path,
                                        PluginMapRecord *record, ProgressProc progress);
typedef void (*FilePluginConfigurationDlgProc)(TessellaWindow *parent, int32_t mode);
typedef int32_t (*FilePluginCommandProc)(TessellaWindow *window, const char *arg,
                                         PluginMapRecord *buffer, ProgressProc progress);

/* The allocator pair shared by host and plug-ins: every buffer a plug-in hands over on
 * import comes zero-filled from TessellaAlloc and is freed by the host with TessellaFree.
 * A request for zero bytes still yields a distinct block, so success is never null. */
static inline void *TessellaAlloc(size_t size)
{
    return calloc(size != 0 ? size : 1, 1);
}

static inline void TessellaFree(void *block)
{
    free(block);
}

/* Fills one FilePluginInfo text field: a bounded copy of at most 128 bytes, so a text of
 * 128 bytes or more is not terminated inside the field. */
static inline void TessellaCopyInfoText(char *field, const char *text)
{
    size_t i = 0;
    for (; i < FILE_PLUGIN_TEXT_SIZE && text[i] != '\0'; ++i)
        field[i] = text[i];
    for (; i < FILE_PLUGIN_TEXT_SIZE; ++i)
        field[i] = '\0';
}

/* A file plug-in defines its entry points after defining this macro, so the compiler
 * checks them against the types above. The host never defines it: image plug-ins export
 * functions of the same names with other signatures. */
#ifdef TESSELLA_FILE_PLUGIN_IMPLEMENTATION
#define TESSELLA_PLUGIN_EXPORT __attribute__((visibility("default")))
TESSELLA_PLUGIN_EXPORT int32_t GetApiVersion(void);
TESSELLA_PLUGIN_EXPORT void GetTessellaPluginInfo(FilePluginInfo *info);
TESSELLA_PLUGIN_EXPORT int32_t IsSupported(const char *path);
TESSELLA_PLUGIN_EXPORT int32_t Import(TessellaWindow *window, const char *path,
                                      PluginMapRecord *record, ProgressProc progress);
TESSELLA_PLUGIN_EXPORT int32_t Export(TessellaWindow *window, const char *path,
                                      PluginMapRecord *record, ProgressProc progress);
#endif

#ifdef __cplusplus
}
#endif

#endif /* TESSELLA_COMMON_TESSELLA_PLUGIN_H */
