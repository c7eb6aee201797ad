#include "ui.h"
#include "text.h"

#include <commctrl.h>

static int g_silent = 1;
static wchar_t *g_title;
static HWND g_window, g_status, g_bar;
static int g_cancelled;

#define ID_CANCEL 2
#define ID_EDIT 100

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

void ui_progress_show(const wchar_t *heading)
{
    if (g_silent || g_window)
        return;
    HINSTANCE inst = GetModuleHandleW(NULL);
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = progress_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    wc.lpszClassName = L"SetupProgress";
    RegisterClassW(&wc);
    int width = 460, height = 170;
    g_window = CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, g_title,
                               WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                               (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                               NULL, NULL, inst, NULL);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HWND head = CreateWindowW(L"STATIC", heading, WS_CHILD | WS_VISIBLE, 16, 12, 420, 18, g_window, NULL, inst, NULL);
    g_status = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 16, 36, 420, 18, g_window, NULL, inst, NULL);
    g_bar = CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 16, 60, 420, 18, g_window, NULL, inst, NULL);
    HWND cancel = CreateWindowW(L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 356, 92, 80, 24,
                                g_window, (HMENU)ID_CANCEL, inst, NULL);
    SendMessageW(head, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(g_status, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(cancel, WM_SETFONT, (WPARAM)font, 0);
    SendMessageW(g_bar, PBM_SETRANGE32, 0, 1000);
    ui_pump();
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
        if (MessageBoxW(g_window, L"Are you sure you want to cancel Setup?", g_title,
                        MB_YESNO | MB_ICONQUESTION) == IDYES)
            return 0;
    }
    return 1;
}

void ui_progress_hide(void)
{
    if (g_window)
        DestroyWindow(g_window);
    g_window = g_status = g_bar = NULL;
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

int ui_retry(const wchar_t *text)
{
    if (g_silent)
        return 0;
    return MessageBoxW(g_window, text, g_title, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

/* ---- password prompt: a small window run modally ---- */

typedef struct {
    HWND edit;
    int done;
    wchar_t *result;
} Prompt;

static LRESULT CALLBACK prompt_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    Prompt *p = (Prompt *)GetWindowLongPtrW(w, GWLP_USERDATA);
    if (msg == WM_COMMAND && p) {
        if (LOWORD(wp) == IDOK) {
            int n = GetWindowTextLengthW(p->edit);
            p->result = xalloc(((size_t)n + 1) * sizeof(wchar_t));
            GetWindowTextW(p->edit, p->result, n + 1);
            p->done = 1;
            return 0;
        }
        if (LOWORD(wp) == IDCANCEL) {
            p->done = 1;
            return 0;
        }
    }
    if (msg == WM_CLOSE && p) {
        p->done = 1;
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

wchar_t *ui_password(const wchar_t *prompt, int hide, int upper)
{
    if (g_silent)
        return NULL;
    HINSTANCE inst = GetModuleHandleW(NULL);
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = prompt_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"SetupPassword";
    RegisterClassW(&wc);
    int width = 400, height = 160;
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, g_title, WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                             (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                             width, height, NULL, NULL, inst, NULL);
    Prompt p = {0};
    SetWindowLongPtrW(w, GWLP_USERDATA, (LONG_PTR)&p);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HWND label = CreateWindowW(L"STATIC", prompt, WS_CHILD | WS_VISIBLE, 16, 12, 360, 32, w, NULL, inst, NULL);
    p.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (hide ? ES_PASSWORD : 0) |
                                 (upper ? ES_UPPERCASE : 0),
                             16, 48, 360, 22, w, (HMENU)ID_EDIT, inst, NULL);
    HWND ok = CreateWindowW(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 210, 84, 80, 24,
                            w, (HMENU)IDOK, inst, NULL);
    HWND cancel = CreateWindowW(L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 296, 84, 80, 24, w,
                                (HMENU)IDCANCEL, inst, NULL);
    HWND controls[] = {label, p.edit, ok, cancel};
    for (int i = 0; i < 4; i++)
        SendMessageW(controls[i], WM_SETFONT, (WPARAM)font, 0);
    SetFocus(p.edit);
    MSG m;
    while (!p.done && GetMessageW(&m, NULL, 0, 0) > 0) {
        if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
            SendMessageW(w, WM_COMMAND, IDOK, 0);
            continue;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            SendMessageW(w, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (!IsDialogMessageW(w, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    DestroyWindow(w);
    return p.result;
}
