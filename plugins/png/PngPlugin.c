/* PNG import filter for the image plug-in interface. Every PNG (palette, grey, grey with
 * alpha, RGB, RGBA, 1 to 16 bits, interlaced or not) comes out as a 24-bit bottom-up bitmap.
 * Pixels whose alpha is below 128 come out as RGB(255, 0, 255), the colour users pick as the
 * transparent colour of a parts image. Input is a file (flag 0: buf is its name, len the
 * offset of the PNG data in it) or memory (flag 1: buf points to len bytes). */
#include "common/SusiePlugin.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Larger pictures are refused rather than risking an allocation the machine cannot give. */
#define PNG_PLUGIN_MAX_PIXELS ((png_uint_32)1 << 28)
#define PNG_PLUGIN_MAX_SIDE 65535u
#define BITMAP_INFO_HEADER_SIZE 40

typedef struct {
    FILE *file;                /* file input, or NULL */
    const unsigned char *data; /* memory input */
    size_t size;
    size_t position;
} PngSource;

typedef struct {
    PngSource source;
    int32_t result;       /* set before png_error() so the error path knows why */
    unsigned char *rgba;  /* decoded rows, 4 bytes per pixel (B, G, R, A) */
    unsigned char *bits;  /* the bitmap rows handed back */
    unsigned char *header;
    png_uint_32 width;
    png_uint_32 height;
} PngDecode;

static const char *const plugin_info[] = {"00IN", "Tessella PNG plug-in", "*.png", "PNG file"};

static void read_source(png_structp png, png_bytep out, size_t count)
{
    PngDecode *decode = (PngDecode *)png_get_io_ptr(png);
    PngSource *source = &decode->source;
    if (source->file != NULL) {
        if (fread(out, 1, count, source->file) != count) {
            decode->result = ferror(source->file) ? SUSIE_READ_ERROR : SUSIE_BROKEN_DATA;
            png_error(png, "unexpected end of file");
        }
        return;
    }
    if (count > source->size - source->position) {
        decode->result = SUSIE_BROKEN_DATA;
        png_error(png, "unexpected end of data");
    }
    memcpy(out, source->data + source->position, count);
    source->position += count;
}

static void report_error(png_structp png, png_const_charp message)
{
    (void)message;
    png_longjmp(png, 1);
}

static void report_warning(png_structp png, png_const_charp message)
{
    (void)png;
    (void)message;
}

static int32_t open_source(const char *buf, intptr_t len, uint32_t flag, PngSource *source)
{
    memset(source, 0, sizeof(*source));
    if (buf == NULL)
        return SUSIE_READ_ERROR;
    switch (flag & SUSIE_INPUT_MASK) {
    case SUSIE_INPUT_FILE:
        if (len < 0)
            return SUSIE_READ_ERROR;
        source->file = fopen(buf, "rb");
        if (source->file == NULL)
            return SUSIE_READ_ERROR;
        if (len > 0 && fseek(source->file, (long)len, SEEK_SET) != 0) {
            fclose(source->file);
            source->file = NULL;
            return SUSIE_READ_ERROR;
        }
        return SUSIE_SUCCESS;
    case SUSIE_INPUT_MEMORY:
        if (len < 0)
            return SUSIE_READ_ERROR;
        source->data = (const unsigned char *)buf;
        source->size = (size_t)len;
        return SUSIE_SUCCESS;
    default:
        return SUSIE_UNKNOWN_FORMAT;
    }
}

static void close_source(PngSource *source)
{
    if (source->file != NULL)
        fclose(source->file);
    source->file = NULL;
}

static int has_signature(PngDecode *decode)
{
    unsigned char signature[8];
    PngSource *source = &decode->source;
    if (source->file != NULL) {
        if (fread(signature, 1, sizeof(signature), source->file) != sizeof(signature))
            return 0;
    } else {
        if (source->size - source->position < sizeof(signature))
            return 0;
        memcpy(signature, source->data + source->position, sizeof(signature));
        source->position += sizeof(signature);
    }
    return png_sig_cmp(signature, 0, sizeof(signature)) == 0;
}

/* Converts the decoded B, G, R, A rows into the 24-bit bottom-up bitmap and its header. */
static int32_t build_bitmap(PngDecode *decode)
{
    const size_t width = decode->width;
    const size_t height = decode->height;
    const size_t stride = (width * 3 + 3) & ~(size_t)3;
    size_t x, y;
    unsigned char *h;
    decode->bits = (unsigned char *)calloc(stride * height, 1);
    decode->header = (unsigned char *)calloc(BITMAP_INFO_HEADER_SIZE, 1);
    if (decode->bits == NULL || decode->header == NULL)
        return SUSIE_NO_MEMORY;
    for (y = 0; y < height; ++y) {
        const unsigned char *in = decode->rgba + y * width * 4;
        unsigned char *out = decode->bits + (height - 1 - y) * stride;
        for (x = 0; x < width; ++x, in += 4, out += 3) {
            if (in[3] < 128) {
                out[0] = 255; /* blue */
                out[1] = 0;
                out[2] = 255; /* red */
            } else {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
        }
    }
    h = decode->header;
    h[0] = BITMAP_INFO_HEADER_SIZE;
    h[4] = (unsigned char)width;
    h[5] = (unsigned char)(width >> 8);
    h[6] = (unsigned char)(width >> 16);
    h[7] = (unsigned char)(width >> 24);
    h[8] = (unsigned char)height;
    h[9] = (unsigned char)(height >> 8);
    h[10] = (unsigned char)(height >> 16);
    h[11] = (unsigned char)(height >> 24);
    h[12] = 1;  /* planes */
    h[14] = 24; /* bits per pixel */
    h[20] = (unsigned char)(stride * height);
    h[21] = (unsigned char)((stride * height) >> 8);
    h[22] = (unsigned char)((stride * height) >> 16);
    h[23] = (unsigned char)((stride * height) >> 24);
    return SUSIE_SUCCESS;
}

/* Reads the header and, when Pixels is set, the whole picture. libpng reports errors by
 * jumping back here; everything the decode owns lives in *decode, outside this frame. */
static int32_t decode_png(PngDecode *decode, int pixels, SusieProgressCallback progress,
                          intptr_t lData)
{
    png_structp png;
    png_infop info;
    int bit_depth, color_type, interlace, passes, pass;
    png_uint_32 y, done, total;
    size_t row_bytes;

    if (!has_signature(decode))
        return SUSIE_UNKNOWN_FORMAT;
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, report_error, report_warning);
    if (png == NULL)
        return SUSIE_NO_MEMORY;
    info = png_create_info_struct(png);
    if (info == NULL) {
        png_destroy_read_struct(&png, NULL, NULL);
        return SUSIE_NO_MEMORY;
    }
    decode->result = SUSIE_BROKEN_DATA;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, NULL);
        return decode->result;
    }
    png_set_read_fn(png, decode, read_source);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, PNG_PLUGIN_MAX_SIDE, PNG_PLUGIN_MAX_SIDE);
    png_read_info(png, info);
    png_get_IHDR(png, info, &decode->width, &decode->height, &bit_depth, &color_type, &interlace,
                 NULL, NULL);
    if (decode->width == 0 || decode->height == 0 ||
        decode->width > PNG_PLUGIN_MAX_PIXELS / decode->height) {
        decode->result = SUSIE_NO_MEMORY;
        png_error(png, "picture too large");
    }
    if (!pixels) {
        png_destroy_read_struct(&png, &info, NULL);
        return SUSIE_SUCCESS;
    }

    /* Every format becomes 8-bit B, G, R, A. */
    png_set_expand(png);
    png_set_strip_16(png);
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(color_type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    row_bytes = png_get_rowbytes(png, info);
    if (row_bytes != (size_t)decode->width * 4) {
        decode->result = SUSIE_INTERNAL_ERROR;
        png_error(png, "unexpected row layout");
    }
    decode->rgba = (unsigned char *)calloc(row_bytes, decode->height);
    if (decode->rgba == NULL) {
        decode->result = SUSIE_NO_MEMORY;
        png_error(png, "out of memory");
    }

    total = decode->height * (png_uint_32)passes;
    done = 0;
    if (progress != NULL && progress(0, (int32_t)total, lData) != 0) {
        decode->result = SUSIE_CANCELLED;
        png_error(png, "cancelled");
    }
    for (pass = 0; pass < passes; ++pass) {
        for (y = 0; y < decode->height; ++y) {
            png_read_row(png, decode->rgba + (size_t)y * row_bytes, NULL);
            ++done;
            if (progress != NULL && progress((int32_t)done, (int32_t)total, lData) != 0) {
                decode->result = SUSIE_CANCELLED;
                png_error(png, "cancelled");
            }
        }
    }
    png_destroy_read_struct(&png, &info, NULL);
    return build_bitmap(decode);
}

static void free_decode(PngDecode *decode)
{
    free(decode->rgba);
    free(decode->bits);
    free(decode->header);
    decode->rgba = decode->bits = decode->header = NULL;
}

int32_t GetPluginInfo(int32_t infono, char *buf, int32_t buflen)
{
    size_t length;
    if (infono < 0 || infono >= (int32_t)(sizeof(plugin_info) / sizeof(plugin_info[0])) ||
        buf == NULL || buflen <= 0)
        return 0;
    length = strlen(plugin_info[infono]);
    if (length > (size_t)buflen - 1)
        length = (size_t)buflen - 1;
    memcpy(buf, plugin_info[infono], length);
    buf[length] = '\0';
    return (int32_t)length;
}

int32_t IsSupported(const char *filename, const void *head2k)
{
    (void)filename;
    if (head2k == NULL)
        return 0;
    return png_sig_cmp((png_const_bytep)head2k, 0, 8) == 0;
}

int32_t GetPictureInfo(const char *buf, intptr_t len, uint32_t flag, SusiePictureInfo *info)
{
    PngDecode decode;
    int32_t result;
    if (info == NULL)
        return SUSIE_INTERNAL_ERROR;
    memset(&decode, 0, sizeof(decode));
    result = open_source(buf, len, flag, &decode.source);
    if (result != SUSIE_SUCCESS)
        return result;
    result = decode_png(&decode, 0, NULL, 0);
    close_source(&decode.source);
    free_decode(&decode);
    if (result != SUSIE_SUCCESS)
        return result;
    memset(info, 0, sizeof(*info));
    info->width = (int32_t)decode.width;
    info->height = (int32_t)decode.height;
    info->colorDepth = 24;
    info->hInfo = NULL;
    return SUSIE_SUCCESS;
}

int32_t GetPicture(const char *buf, intptr_t len, uint32_t flag, void **pHBInfo, void **pHBm,
                   SusieProgressCallback progress, intptr_t lData)
{
    PngDecode decode;
    int32_t result;
    if (pHBInfo == NULL || pHBm == NULL)
        return SUSIE_INTERNAL_ERROR;
    *pHBInfo = NULL;
    *pHBm = NULL;
    memset(&decode, 0, sizeof(decode));
    result = open_source(buf, len, flag, &decode.source);
    if (result != SUSIE_SUCCESS)
        return result;
    result = decode_png(&decode, 1, progress, lData);
    close_source(&decode.source);
    if (result != SUSIE_SUCCESS) {
        free_decode(&decode);
        return result;
    }
    free(decode.rgba);
    *pHBInfo = decode.header;
    *pHBm = decode.bits;
    return SUSIE_SUCCESS;
}
