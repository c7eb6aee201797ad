/* Painting shared by the wizard and the progress window of runs without its pages, so that
 * both look alike: the texts of a page header and the etched lines between the window's
 * parts. */
#ifndef BVQ_STUB_WIZARD_PAINT_H
#define BVQ_STUB_WIZARD_PAINT_H

#include <windows.h>

/* The bold title at title_x, title_y and the description in the normal font within the
 * rectangle, wrapped at words. */
void wizard_paint_header_texts(HDC dc, HFONT bold, HFONT font, int title_x, int title_y, RECT description_box,
                               const wchar_t *title, const wchar_t *description);
/* An etched line across the window's width at y. */
void wizard_paint_separator(HDC dc, int y);

#endif
