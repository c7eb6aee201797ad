/* The language choice before the wizard: a small window with the install languages in a
 * list, OK and Cancel. Its texts follow the language selected in the list. */
#include "install_texts.h"
#include "text.h"
#include "ui.h"
#include "wizard.h"
#include "wizard_geometry.h"

#include <string.h>

enum { ID_LIST = 100 };

typedef struct {
    Installer *in;
    HWND window, question, list, ok, cancel;
    HFONT font;
    int result; /* 0 while open, 1 OK, -1 cancelled */
} LanguageChoice;

static LanguageChoice g_choice;

static void set_text(HWND h, const Installer *in, int role)
{
    wchar_t *t = install_text(in->script, in->language, role);
    SetWindowTextW(h, t);
    xfree(t);
}

/* The texts and the font of the language selected. */
static void show_language(LanguageChoice *c)
{
    Installer *in = c->in;
    HFONT old = c->font;
    ui_set_code_page(install_language_code_page(in->script, in->language));
    c->font = ui_font(0, FW_NORMAL);
    HWND controls[] = {c->question, c->list, c->ok, c->cancel};
    for (size_t i = 0; i < sizeof controls / sizeof controls[0]; i++)
        SendMessageW(controls[i], WM_SETFONT, (WPARAM)c->font, TRUE);
    if (old)
        DeleteObject(old);
    set_text(c->window, in, TXT_LANGUAGE_TITLE);
    set_text(c->question, in, TXT_LANGUAGE_QUESTION);
    set_text(c->ok, in, TXT_OK);
    set_text(c->cancel, in, TXT_CANCEL);
}

static LRESULT CALLBACK choice_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    LanguageChoice *c = &g_choice;
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK:
            c->result = 1;
            return 0;
        case IDCANCEL:
            c->result = -1;
            return 0;
        case ID_LIST:
            if (HIWORD(wp) == CBN_SELCHANGE) {
                LRESULT i = SendMessageW(c->list, CB_GETCURSEL, 0, 0);
                if (i >= 0) {
                    c->in->language = (size_t)i;
                    show_language(c);
                }
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        c->result = -1;
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

int wizard_choose_language(Installer *in)
{
    const Script *s = in->script;
    if (s->entries[SEC_N] < 2)
        return 1;
    LanguageChoice *c = &g_choice;
    memset(c, 0, sizeof *c);
    c->in = in;
    HINSTANCE inst = GetModuleHandleW(NULL);
    const int client_width = 340, client_height = 124, m = WIZARD_MARGIN;
    const int field = client_width - 2 * m;
    DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT r = {0, 0, client_width, client_height};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    const int width = r.right - r.left, height = r.bottom - r.top;
    c->window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW, ui_window_class(L"SetupLanguage", choice_proc), L"",
                                style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, NULL, NULL, inst, NULL);
    c->question = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, m, m, field, 32, c->window, NULL, inst, NULL);
    c->list = CreateWindowW(L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, m,
                            m + 36, field, 200, c->window, (HMENU)ID_LIST, inst, NULL);
    const int y = client_height - m - WIZARD_BUTTON_HEIGHT, cancel_x = client_width - m - WIZARD_BUTTON_WIDTH;
    c->ok = CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          cancel_x - WIZARD_BUTTON_GAP - WIZARD_BUTTON_WIDTH, y, WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT,
                          c->window, (HMENU)IDOK, inst, NULL);
    c->cancel = CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, cancel_x, y,
                              WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT, c->window, (HMENU)IDCANCEL, inst, NULL);
    for (size_t i = 0; i < s->entries[SEC_N]; i++) {
        wchar_t *caption = install_language_caption(s, i);
        SendMessageW(c->list, CB_ADDSTRING, 0, (LPARAM)caption);
        xfree(caption);
    }
    SendMessageW(c->list, CB_SETCURSEL, in->language, 0);
    show_language(c);
    ShowWindow(c->window, SW_SHOW);
    SetFocus(c->list);
    MSG msg;
    while (!c->result && GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (!IsDialogMessageW(c->window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(c->window);
    DeleteObject(c->font);
    return c->result > 0;
}
