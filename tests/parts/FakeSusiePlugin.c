/* A tiny image plug-in for the host's tests. FAKE_VERSION, FAKE_NAME and FAKE_COLOR (a
 * 0x00RRGGBB value) are set per build. It reads files that start with "FAKE" and whose probe
 * buffer is zero from byte 100 on (the test files are 100 bytes long), and hands back a
 * 2 × 2 picture in FAKE_COLOR: an 8-bit palette bitmap, or a top-down 24-bit one when
 * FAKE_TOP_DOWN is set. */
#include "common/SusiePlugin.h"

#include <stdlib.h>
#include <string.h>

static const char *const info[] = {FAKE_VERSION, FAKE_NAME, "*.fake", FAKE_NAME " pictures"};

int32_t GetPluginInfo(int32_t infono, char *buf, int32_t buflen)
{
    if (infono < 0 || infono > 3 || buflen <= 0)
        return 0;
    strncpy(buf, info[infono], (size_t)buflen - 1);
    buf[buflen - 1] = '\0';
    return (int32_t)strlen(buf);
}

int32_t IsSupported(const char *filename, const void *head2k)
{
    const unsigned char *head = (const unsigned char *)head2k;
    int i;
    (void)filename;
    if (memcmp(head, "FAKE", 4) != 0)
        return 0;
    for (i = 100; i < 2048; ++i)
        if (head[i] != 0)
            return 0;
    return 1;
}

int32_t GetPictureInfo(const char *buf, intptr_t len, uint32_t flag, SusiePictureInfo *pinfo)
{
    (void)buf;
    (void)len;
    (void)flag;
    memset(pinfo, 0, sizeof(*pinfo));
    pinfo->width = 2;
    pinfo->height = 2;
    pinfo->colorDepth = 8;
    pinfo->hInfo = malloc(16); /* the host frees it */
    return 0;
}

static void put32(unsigned char *p, int32_t v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

int32_t GetPicture(const char *buf, intptr_t len, uint32_t flag, void **pHBInfo, void **pHBm,
                   SusieProgressCallback progress, intptr_t lData)
{
    unsigned char *header;
    unsigned char *bits;
    (void)buf;
    (void)len;
    (void)flag;
    if (progress != NULL && progress(1, 2, lData) != 0)
        return 1;
#ifdef FAKE_TOP_DOWN
    header = (unsigned char *)calloc(40, 1);
    bits = (unsigned char *)calloc(16, 1);
    put32(header, 40);
    put32(header + 4, 2);
    put32(header + 8, -2);
    header[12] = 1;
    header[14] = 24;
    {
        int i;
        for (i = 0; i < 2; ++i) {
            unsigned char *row = bits + 8 * i;
            row[0] = row[3] = (unsigned char)FAKE_COLOR;
            row[1] = row[4] = (unsigned char)(FAKE_COLOR >> 8);
            row[2] = row[5] = (unsigned char)(FAKE_COLOR >> 16);
        }
        bits[3 + 0] = 0x01; /* top-right pixel differs: blue 1 */
        bits[3 + 1] = 0x02;
        bits[3 + 2] = 0x03;
    }
#else
    header = (unsigned char *)calloc(40 + 8, 1);
    bits = (unsigned char *)calloc(8, 1);
    put32(header, 40);
    put32(header + 4, 2);
    put32(header + 8, 2);
    header[12] = 1;
    header[14] = 8;
    put32(header + 32, 2);
    header[40] = (unsigned char)FAKE_COLOR;
    header[41] = (unsigned char)(FAKE_COLOR >> 8);
    header[42] = (unsigned char)(FAKE_COLOR >> 16);
    header[44] = 0x11; /* colour 1: 0x00332211 */
    header[45] = 0x22;
    header[46] = 0x33;
    bits[4 + 1] = 1; /* bottom-up: the top row's second pixel is colour 1 */
#endif
    *pHBInfo = header;
    *pHBm = bits;
    if (progress != NULL)
        progress(2, 2, lData);
    return 0;
}

#ifdef FAKE_CONFIG
int32_t ConfigurationDlg(TessellaWindow *parent, int32_t fnc)
{
    (void)parent;
    (void)fnc;
    return 0;
}
#endif
