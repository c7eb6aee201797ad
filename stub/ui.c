#include "ui.h"
#include "text.h"

#include <commctrl.h>

static int g_silent = 1;
static wchar_t *g_title;
static HWND g_window, g_status, g_bar;
static int g_cancelled;
static wchar_t *g_cancel_question;
static int g_attached; /* the progress controls belong to another window */
static unsigned g_code_page;
static HFONT g_font;

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

static LRESULT CALLBACK progress_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if ((msg == WM_COMMAND && LOWORD(wp) == ID_CANCEL) || msg == WM_CLOSE) {
        g_cancelled = 1;
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

void ui_progress_show(const wchar_t *heading, const wchar_t *cancel_text)
{
    if (g_silent || g_window)
        return;
    HINSTANCE inst = GetModuleHandleW(NULL);
    const wchar_t *class_name = ui_window_class(L"SetupProgress", progress_proc);
    int width = 460, height = 170;
    g_window = CreateWindowExW(WS_EX_DLGMODALFRAME, class_name, g_title,
                               WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                               (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                               NULL, NULL, inst, NULL);
    if (!g_font)
        g_font = ui_font(0, FW_NORMAL);
    HFONT font = g_font;
    HWND head = CreateWindowW(L"STATIC", heading, WS_CHILD | WS_VISIBLE, 16, 12, 420, 18, g_window, NULL, inst, NULL);
    g_status = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 16, 36, 420, 18, g_window, NULL, inst, NULL);
    g_bar = CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 16, 60, 420, 18, g_window, NULL, inst, NULL);
    HWND cancel = CreateWindowW(L"BUTTON", cancel_text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 356, 92, 80, 24,
                                g_window, (HMENU)ID_CANCEL, inst, NULL);
    SendMessageW(head, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(g_status, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(cancel, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(g_bar, PBM_SETRANGE32, 0, 1000);
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
    if (g_bar)
        SendMessageW(g_bar, PBM_SETPOS, total ? (WPARAM)(done * 1000 / total) : 0, 0);
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
