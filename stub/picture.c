#include "picture.h"
#include "text.h"

#include <gdiplus.h>

struct Picture {
    GpImage *image;
    UINT cx, cy;
};

static int started(void)
{
    static ULONG_PTR token;
    static int ok = -1;
    if (ok < 0) {
        GdiplusStartupInput in = {1, NULL, FALSE, FALSE};
        ok = GdiplusStartup(&token, &in, NULL) == Ok;
    }
    return ok;
}

Picture *picture_load(const wchar_t *path)
{
    GpImage *image = NULL;
    if (!started() || GdipLoadImageFromFile(path, &image) != Ok)
        return NULL;
    Picture *p = xalloc(sizeof *p);
    p->image = image;
    GdipGetImageWidth(image, &p->cx);
    GdipGetImageHeight(image, &p->cy);
    return p;
}

void picture_free(Picture *p)
{
    if (!p)
        return;
    GdipDisposeImage(p->image);
    xfree(p);
}

void picture_size(const Picture *p, int *cx, int *cy)
{
    *cx = p ? (int)p->cx : 0;
    *cy = p ? (int)p->cy : 0;
}

void picture_draw(HDC dc, const Picture *p, int x, int y, int cx, int cy, int key_out_corner)
{
    GpGraphics *g;
    if (!p || GdipCreateFromHDC(dc, &g) != Ok)
        return;
    GpImageAttributes *attributes = NULL;
    ARGB corner;
    if (key_out_corner && p->cy &&
        GdipBitmapGetPixel((GpBitmap *)p->image, 0, (INT)p->cy - 1, &corner) == Ok &&
        GdipCreateImageAttributes(&attributes) == Ok)
        GdipSetImageAttributesColorKeys(attributes, ColorAdjustTypeDefault, TRUE, corner, corner);
    /* Stretching keeps the edges: without this the border pixels fade into the background. */
    GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
    GdipSetInterpolationMode(g, cx ? InterpolationModeHighQualityBicubic : InterpolationModeNearestNeighbor);
    GdipDrawImageRectRectI(g, p->image, x, y, cx ? cx : (INT)p->cx, cx ? cy : (INT)p->cy, 0, 0, (INT)p->cx,
                           (INT)p->cy, UnitPixel, attributes, NULL, NULL);
    if (attributes)
        GdipDisposeImageAttributes(attributes);
    GdipDeleteGraphics(g);
}
