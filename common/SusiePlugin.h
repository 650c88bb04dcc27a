/* The published image plug-in interface (".spi" import filters), as the editor and the
 * image plug-ins shipped with it see it. Integers the interface declares as "long" are
 * int32_t, except len and lData, which are pointer-sized. Handles are blocks allocated
 * with malloc; the host frees them with free.
 *
 * The host calls with flag 0 (buf is the file name) and len 0 (read from the file's start).
 * GetPicture hands back a 40-byte BITMAPINFOHEADER (followed by a palette for 8 bits or
 * less) in *pHBInfo and the pixel rows bottom-up, each padded to 4 bytes, in *pHBm.
 * Results are 0 for success; after a failure the plug-in has freed everything itself.
 * The progress callback returns 0 to let the plug-in go on. */
#ifndef TESSELLA_SUSIE_PLUGIN_H
#define TESSELLA_SUSIE_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TessellaWindow TessellaWindow;

typedef int32_t (*SusieProgressCallback)(int32_t nNum, int32_t nDenom,
                                         intptr_t lData); /* 0: go on */
#pragma pack(push, 1)
typedef struct {
    int32_t left, top, width, height;
    uint16_t x_density, y_density;
    int16_t colorDepth;
    void *hInfo;
} SusiePictureInfo; /* 30 bytes; hInfo at 22 */
#pragma pack(pop)

/* Result codes of GetPictureInfo and GetPicture. */
enum {
    SUSIE_SUCCESS = 0,
    SUSIE_CANCELLED = 1, /* the progress callback asked to stop */
    SUSIE_UNKNOWN_FORMAT = 2,
    SUSIE_BROKEN_DATA = 3,
    SUSIE_NO_MEMORY = 4,
    SUSIE_MEMORY_ERROR = 5,
    SUSIE_READ_ERROR = 6,
    SUSIE_INTERNAL_ERROR = 8
};

/* Input kinds in the low bits of flag. */
enum { SUSIE_INPUT_FILE = 0, SUSIE_INPUT_MEMORY = 1, SUSIE_INPUT_MASK = 7 };

/* The entry points, exported by name (plug-ins build with hidden visibility otherwise). */
#define SUSIE_PLUGIN_EXPORT __attribute__((visibility("default")))
SUSIE_PLUGIN_EXPORT int32_t GetPluginInfo(int32_t infono, char *buf, int32_t buflen);
SUSIE_PLUGIN_EXPORT int32_t IsSupported(const char *filename,
                                        const void *head2k); /* the first 2048 bytes */
SUSIE_PLUGIN_EXPORT int32_t GetPictureInfo(const char *buf, intptr_t len, uint32_t flag,
                                           SusiePictureInfo *info);
SUSIE_PLUGIN_EXPORT int32_t GetPicture(const char *buf, intptr_t len, uint32_t flag, void **pHBInfo,
                                       void **pHBm, SusieProgressCallback progress, intptr_t lData);
SUSIE_PLUGIN_EXPORT int32_t ConfigurationDlg(TessellaWindow *parent, int32_t fnc); /* optional */

/* The same entry points as pointer types, for hosts that look them up by name. */
typedef int32_t (*SusieGetPluginInfoProc)(int32_t infono, char *buf, int32_t buflen);
typedef int32_t (*SusieIsSupportedProc)(const char *filename, const void *head2k);
typedef int32_t (*SusieGetPictureInfoProc)(const char *buf, intptr_t len, uint32_t flag,
                                           SusiePictureInfo *info);
typedef int32_t (*SusieGetPictureProc)(const char *buf, intptr_t len, uint32_t flag, void **pHBInfo,
                                       void **pHBm, SusieProgressCallback progress, intptr_t lData);
typedef int32_t (*SusieConfigurationDlgProc)(TessellaWindow *parent, int32_t fnc);

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(SusiePictureInfo) == 30, "SusiePictureInfo is 30 bytes");
static_assert(offsetof(SusiePictureInfo, hInfo) == 22, "hInfo lies at offset 22");
#endif

#endif
