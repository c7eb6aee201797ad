#include "wizard_paint.h"
#include "wizard_geometry.h"

#include <wchar.h>

void wizard_paint_header_texts(HDC dc, HFONT bold, HFONT font, int title_x, int title_y, RECT description_box,
                               const wchar_t *title, const wchar_t *description)
{
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, bold);
    TextOutW(dc, title_x, title_y, title, (int)wcslen(title));
    SelectObject(dc, font);
    DrawTextW(dc, description, -1, &description_box, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

void wizard_paint_separator(HDC dc, int y)
{
    RECT line = {0, y, WIZARD_CLIENT_WIDTH, y + 2};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}
