#ifndef VORNIK_JPEG_DECODE_H
#define VORNIK_JPEG_DECODE_H
/* A JPEG picture to RGB pixels (3 bytes each, rows top-down). */
#ifdef __cplusplus
extern "C" {
#endif

/* Pictures larger than this are refused rather than allocated. */
#define VORNIK_JPEG_MAX_PIXELS (16u * 1024u * 1024u)

/* 1 on success (the caller frees *pixels with free()), 0 for anything that is no readable JPEG. */
int vornik_jpeg_decode(const unsigned char* data, unsigned long size, unsigned char** pixels, int* width, int* height);

#ifdef __cplusplus
}
#endif
#endif
