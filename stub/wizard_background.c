/* The background is composed once into a bitmap of the screen's size, which the window then
 * only copies: gradient or picture first, the two texts over it. */
#include "wizard_background.h"
#include "picture.h"
#include "setup_format.h"
#include "text.h"
#include "ui.h"
#include "variables.h"
#include "wizard_geometry.h"

static HBITMAP g_screen;

/* Vertical runs from the top (start colour) to the bottom; horizontal from left to right. */
static void paint_gradient(HDC dc, const Script *s, int cx, int cy)
{
    COLORREF a = script_colour(s, FLD_BACK_COLOUR_START), b = script_colour(s, FLD_BACK_COLOUR_END);
    int vertical = script_number(s, FLD_BACK_GRADIENT_DIRECTION) == GRADIENT_VERTICAL;
    int n = vertical ? cy : cx;
    for (int i = 0; i < n; i++) {
        int d = n > 1 ? n - 1 : 1;
        HBRUSH brush = CreateSolidBrush(RGB(GetRValue(a) + (GetRValue(b) - GetRValue(a)) * i / d,
                                            GetGValue(a) + (GetGValue(b) - GetGValue(a)) * i / d,
                                            GetBValue(a) + (GetBValue(b) - GetBValue(a)) * i / d));
        RECT r = vertical ? (RECT){0, i, cx, i + 1} : (RECT){i, 0, i + 1, cy};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

static void paint_picture(HDC dc, const Installer *in, int cx, int cy)
{
    const Script *s = in->script;
    FillRect(dc, &(RECT){0, 0, cx, cy}, (HBRUSH)GetStockObject(BLACK_BRUSH));
    wchar_t *path = installer_side_file(in, SIDE_FILE_BACKGROUND);
    Picture *p = picture_load(path);
    xfree(path);
    int pw, ph;
    picture_size(p, &pw, &ph);
    if (!pw || !ph) {
        picture_free(p);
        return;
    }
    switch (script_number(s, FLD_BACK_PLACEMENT)) {
    case BACK_PLACE_STRETCH:
        picture_draw(dc, p, 0, 0, cx, cy, 0);
        break;
    case BACK_PLACE_CENTRE:
        picture_draw(dc, p, (cx - pw) / 2, (cy - ph) / 2, 0, 0, 0);
        break;
    default: /* BACK_PLACE_TILE */
        for (int y = 0; y < cy; y += ph)
            for (int x = 0; x < cx; x += pw)
                picture_draw(dc, p, x, y, 0, 0, 0);
    }
    picture_free(p);
}

/* A text in the font the author chose (height, face, colour, character set, style fields). */
typedef struct {
    int text, height, name, colour, charset, style;
} BackgroundText;

static const BackgroundText TITLE = {FLD_BACK_TITLE, FLD_BACK_TITLE_HEIGHT, FLD_BACK_TITLE_FONT,
                                     FLD_BACK_TITLE_COLOUR, FLD_BACK_TITLE_CHARSET, FLD_BACK_TITLE_STYLE};
static const BackgroundText COMPANY = {FLD_BACK_COMPANY, FLD_BACK_COMPANY_HEIGHT, FLD_BACK_COMPANY_FONT,
                                       FLD_BACK_COMPANY_COLOUR, FLD_BACK_COMPANY_CHARSET, FLD_BACK_COMPANY_STYLE};

/* Draws the text with its top-left corner at x, y; negative x and y count from the right
 * and bottom edges of cx, cy to the text's far corner. */
static void paint_text(HDC dc, const Installer *in, const BackgroundText *t, int x, int y, int cx, int cy)
{
    const Script *s = in->script;
    wchar_t *text = vars_expand_a(&in->vars, script_field(s, t->text));
    wchar_t *face = w_from_ansi(script_field(s, t->name));
    int style = (int)script_number(s, t->style);
    LOGFONTW f = {0};
    f.lfHeight = (LONG)script_number(s, t->height);
    f.lfWeight = style & TEXT_STYLE_BOLD ? FW_BOLD : FW_NORMAL;
    f.lfItalic = (style & TEXT_STYLE_ITALIC) != 0;
    f.lfUnderline = (style & TEXT_STYLE_UNDERLINE) != 0;
    f.lfStrikeOut = (style & TEXT_STYLE_STRIKE_OUT) != 0;
    f.lfCharSet = (BYTE)script_number(s, t->charset);
    f.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(f.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&f);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {0, 0};
    int n = (int)wcslen(text);
    GetTextExtentPoint32W(dc, text, n, &size);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, script_colour(s, t->colour));
    TextOutW(dc, x >= 0 ? x : cx + x - size.cx, y >= 0 ? y : cy + y - size.cy, text, n);
    SelectObject(dc, old);
    DeleteObject(font);
    xfree(face);
    xfree(text);
}

static LRESULT CALLBACK background_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps), mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, g_screen);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_CLOSE: /* the wizard decides when the run ends */
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND wizard_background_open(Installer *in)
{
    const Script *s = in->script;
    if (!script_flag(s, FLD_BACKGROUND))
        return NULL;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL), dc = CreateCompatibleDC(screen);
    g_screen = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(dc, g_screen);
    if (script_flag(s, FLD_BACK_GRADIENT))
        paint_gradient(dc, s, cx, cy);
    else
        paint_picture(dc, in, cx, cy);
    paint_text(dc, in, &TITLE, WIZARD_BACKGROUND_TITLE_X, WIZARD_BACKGROUND_TITLE_Y, cx, cy);
    paint_text(dc, in, &COMPANY, -WIZARD_BACKGROUND_COMPANY_RIGHT, -WIZARD_BACKGROUND_COMPANY_BOTTOM, cx, cy);
    SelectObject(dc, old);
    DeleteDC(dc);
    const wchar_t *class_name = ui_window_class(L"SetupBackground", background_proc);
    wchar_t *title = vars_expand_a(&in->vars, script_field(s, FLD_BACK_TITLE));
    HWND h = CreateWindowExW(0, class_name, title, WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, NULL, NULL,
                             GetModuleHandleW(NULL), NULL);
    xfree(title);
    UpdateWindow(h);
    return h;
}

void wizard_background_close(HWND background)
{
    if (background)
        DestroyWindow(background);
    if (g_screen)
        DeleteObject(g_screen);
    g_screen = NULL;
}
