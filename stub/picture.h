/* Pictures of the wizard and the background window (the side files): bitmaps, PNG with their
 * alpha channel, and the other formats the system's imaging library reads. */
#ifndef BVQ_STUB_PICTURE_H
#define BVQ_STUB_PICTURE_H

#include <windows.h>

typedef struct Picture Picture;

/* NULL when the file is missing or not a picture. */
Picture *picture_load(const wchar_t *path);
void picture_free(Picture *p);
void picture_size(const Picture *p, int *cx, int *cy);
/* Draws the picture into x, y, cx, cy (its own size when cx is 0), pixel for pixel as the
 * file has them; key_out_corner leaves out the pixels of the colour of its bottom-left pixel
 * (the picture's background). */
void picture_draw(HDC dc, const Picture *p, int x, int y, int cx, int cy, int key_out_corner);

#endif
