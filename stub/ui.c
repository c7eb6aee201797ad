#include "ui.h"
#include "text.h"
#include "wizard_geometry.h"
#include "wizard_paint.h"

#include <commctrl.h>

static int g_silent = 1;
static wchar_t *g_title;
static HWND g_window, g_status, g_bar;
static int g_cancelled;
static wchar_t *g_cancel_question;
static int g_attached; /* the progress controls belong to another window */
static unsigned g_code_page;
static HFONT g_font, g_bold;
/* the header of the progress window */
static wchar_t *g_heading, *g_description;
static HICON g_icon;

#define ID_CANCEL 2

void ui_init(int silent, const wchar_t *title)
{
    g_silent = silent;
    xfree(g_title);
    g_title = w_dup(title && *title ? title : L"Setup");
    if (!silent) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
    }
}

void ui_set_code_page(unsigned code_page)
{
    g_code_page = code_page;
}

HFONT ui_font(int height, int weight)
{
    NONCLIENTMETRICSW m = {sizeof m};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    LOGFONTW f = m.lfMessageFont;
    if (height)
        f.lfHeight = height;
    f.lfWeight = weight;
    CHARSETINFO cs;
    if (g_code_page != CODE_PAGE_ANSI && TranslateCharsetInfo((DWORD *)(UINT_PTR)g_code_page, &cs, TCI_SRCCODEPAGE))
        f.lfCharSet = (BYTE)cs.ciCharset;
    return CreateFontIndirectW(&f);
}

void ui_set_cancel_question(const wchar_t *text)
{
    xfree(g_cancel_question);
    g_cancel_question = w_dup(text);
}

int ui_silent(void)
{
    return g_silent;
}

/* The header of the wizard's progress page, plain white, with the program's own icon. */
static void paint_progress(HWND w)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT band = {0, 0, WIZARD_CLIENT_WIDTH, WIZARD_HEADER_HEIGHT};
    FillRect(dc, &band, (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (g_icon)
        DrawIcon(dc, WIZARD_HEADER_ICON_X, WIZARD_HEADER_ICON_Y, g_icon);
    RECT description = {WIZARD_PLAIN_DESCRIPTION_X, WIZARD_HEADER_DESCRIPTION_Y, WIZARD_HEADER_ICON_X - WIZARD_MARGIN,
                        WIZARD_HEADER_HEIGHT - 2};
    wizard_paint_header_texts(dc, g_bold, g_font, WIZARD_PLAIN_TITLE_X, WIZARD_HEADER_TITLE_Y, description, g_heading,
                              g_description);
    wizard_paint_separator(dc, WIZARD_HEADER_HEIGHT);
    wizard_paint_separator(dc, WIZARD_PAGE_HEIGHT);
    EndPaint(w, &ps);
}

static LRESULT CALLBACK progress_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if ((msg == WM_COMMAND && LOWORD(wp) == ID_CANCEL) || msg == WM_CLOSE) {
        g_cancelled = 1;
        return 0;
    }
    if (msg == WM_PAINT) {
        paint_progress(w);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

const wchar_t *ui_window_class(const wchar_t *name, WNDPROC proc)
{
    HINSTANCE inst = GetModuleHandleW(NULL);
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return name;
}

HWND ui_wizard_window(const wchar_t *class_name, const wchar_t *title, HWND owner)
{
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r = {0, 0, WIZARD_CLIENT_WIDTH, WIZARD_CLIENT_HEIGHT};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    int width = r.right - r.left, height = r.bottom - r.top;
    /* The one button on the task bar, even when it has an owner. */
    return CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW, class_name, title, style,
                           (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                           width, height, owner, NULL, GetModuleHandleW(NULL), NULL);
}

static HWND add_control(const wchar_t *cls, const wchar_t *caption, DWORD style, int x, int y, int cx, int cy, int id)
{
    HWND h = CreateWindowW(cls, caption, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, g_window, (HMENU)(INT_PTR)id,
                           GetModuleHandleW(NULL), NULL);
    SendMessageW(h, WM_SETFONT, (WPARAM)g_font, 0);
    return h;
}

void ui_progress_show(const wchar_t *title, const wchar_t *description, const wchar_t *cancel_text)
{
    if (g_silent || g_window)
        return;
    if (!g_font) {
        g_font = ui_font(0, FW_NORMAL);
        g_bold = ui_font(0, FW_BOLD);
    }
    HINSTANCE inst = GetModuleHandleW(NULL);
    if (!g_icon)
        g_icon = LoadIconW(inst, L"MAINICON"); /* the system's icon size: 32 pixels */
    xfree(g_heading);
    xfree(g_description);
    g_heading = w_dup(title);
    g_description = w_dup(description);
    g_window = ui_wizard_window(ui_window_class(L"SetupProgress", progress_proc), g_title, NULL);
    const int width = WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN;
    g_status = add_control(L"STATIC", L"", SS_PATHELLIPSIS, WIZARD_MARGIN, WIZARD_PROGRESS_STATUS_TOP, width,
                           WIZARD_PROGRESS_LINE_HEIGHT, 0);
    g_bar = add_control(PROGRESS_CLASSW, L"", 0, WIZARD_MARGIN, WIZARD_PROGRESS_BAR_TOP, width, WIZARD_PROGRESS_LINE_HEIGHT, 0);
    add_control(L"BUTTON", cancel_text, BS_PUSHBUTTON, WIZARD_CANCEL_LEFT, WIZARD_BUTTON_TOP, WIZARD_BUTTON_WIDTH,
                WIZARD_BUTTON_HEIGHT, ID_CANCEL);
    SendMessageW(g_bar, PBM_SETRANGE32, 0, 1000);
    ShowWindow(g_window, SW_SHOW);
    ui_pump();
}

void ui_progress_attach(HWND window, HWND status, HWND bar)
{
    g_window = window;
    g_status = status;
    g_bar = bar;
    g_attached = 1;
    SendMessageW(g_bar, PBM_SETRANGE32, 0, 1000);
}

void ui_cancel(void)
{
    g_cancelled = 1;
}

void ui_status(const wchar_t *text)
{
    if (g_status)
        SetWindowTextW(g_status, text);
    ui_pump();
}

void ui_progress(unsigned long long done, unsigned long long total)
{
    if (g_bar) {
        SendMessageW(g_bar, PBM_SETPOS, total ? (WPARAM)(done * 1000 / total) : 0, 0);
        UpdateWindow(g_bar); /* also between the calls that let messages run */
    }
}

int ui_pump(void)
{
    MSG m;
    while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    if (g_cancelled && g_window) {
        g_cancelled = 0;
        if (MessageBoxW(g_window, g_cancel_question ? g_cancel_question : L"Are you sure you want to cancel Setup?", g_title,
                        MB_YESNO | MB_ICONQUESTION) == IDYES)
            return 0;
    }
    return 1;
}

void ui_progress_hide(void)
{
    if (g_window && !g_attached)
        DestroyWindow(g_window);
    g_window = g_status = g_bar = NULL;
    g_attached = 0;
}

void ui_error(const wchar_t *text)
{
    if (!g_silent)
        MessageBoxW(g_window, text, g_title, MB_OK | MB_ICONERROR);
}

void ui_info(const wchar_t *text)
{
    if (!g_silent)
        MessageBoxW(g_window, text, g_title, MB_OK | MB_ICONINFORMATION);
}

int ui_ask(const wchar_t *text, int default_yes)
{
    if (g_silent)
        return default_yes;
    return MessageBoxW(g_window, text, g_title,
                       MB_YESNO | MB_ICONQUESTION | (default_yes ? MB_DEFBUTTON1 : MB_DEFBUTTON2)) == IDYES;
}

int ui_ok_cancel(const wchar_t *text)
{
    if (g_silent)
        return 1;
    return MessageBoxW(g_window, text, g_title, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

int ui_retry(const wchar_t *text)
{
    if (g_silent)
        return 0;
    return MessageBoxW(g_window, text, g_title, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}
