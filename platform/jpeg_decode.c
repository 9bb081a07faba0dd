/* JPEG decoding with the IJG API. libjpeg reports fatal errors through error_exit, which
   must not return: here it longjmps back into this C function only, so no C++ frame is
   ever skipped, and a broken picture is just a failed decode. */
#include "platform/jpeg_decode.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

struct vornik_jpeg_error {
    struct jpeg_error_mgr pub;
    jmp_buf escape;
};

static void vornik_jpeg_error_exit(j_common_ptr cinfo)
{
    longjmp(((struct vornik_jpeg_error*)cinfo->err)->escape, 1);
}

static void vornik_jpeg_quiet(j_common_ptr cinfo, int level)
{
    (void)cinfo;
    (void)level;
}

int vornik_jpeg_decode(const unsigned char* data, unsigned long size, unsigned char** pixels, int* width,
                       int* height)
{
    struct jpeg_decompress_struct cinfo;
    struct vornik_jpeg_error err;
    unsigned char* volatile out = NULL;

    *pixels = NULL;
    *width = *height = 0;
    if (data == NULL || size == 0)
        return 0;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = vornik_jpeg_error_exit;
    err.pub.emit_message = vornik_jpeg_quiet;
    if (setjmp(err.escape)) {
        jpeg_destroy_decompress(&cinfo);
        free(out);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, (unsigned char*)data, size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3 || cinfo.output_width == 0 || cinfo.output_height == 0 ||
        (unsigned long long)cinfo.output_width * cinfo.output_height > VORNIK_JPEG_MAX_PIXELS) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    {
        size_t stride = (size_t)cinfo.output_width * 3;
        out = (unsigned char*)malloc(stride * cinfo.output_height);
        if (out == NULL) {
            jpeg_destroy_decompress(&cinfo);
            return 0;
        }
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    }
    jpeg_finish_decompress(&cinfo);
    *width = (int)cinfo.output_width;
    *height = (int)cinfo.output_height;
    jpeg_destroy_decompress(&cinfo);
    *pixels = out;
    return 1;
}
