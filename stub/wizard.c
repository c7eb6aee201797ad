/* The wizard window: one top-level window holding every page's controls, of which only the
 * current page's are visible; the header or the logo is painted by the window itself. The
 * page table says how each page is made, entered, checked and left. */
#include "wizard.h"
#include "wizard_background.h"
#include "install_texts.h"
#include "log.h"
#include "password.h"
#include "picture.h"
#include "text.h"
#include "ui.h"
#include "variables.h"
#include "wizard_geometry.h"
#include "wizard_pages.h"
#include "wizard_paint.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>

enum {
    ID_BACK = 1001, ID_NEXT, ID_CANCEL, ID_BROWSE, ID_ACCEPT, ID_DECLINE, ID_FOLDER, ID_GROUP_LIST, ID_FIRST_OPTION
};
#define MAX_PAGE_CONTROLS 12

typedef struct {
    Installer *in;
    HWND window, back, next, cancel, footer, background;
    HFONT font, bold, title_font;
    WizardPlan plan;
    int position;         /* in the plan */
    int result;           /* 0 while running, 1 next past the last page, -1 cancelled */
    HWND controls[PAGE_COUNT][MAX_PAGE_CONTROLS];
    int control_count[PAGE_COUNT];
    HWND folder_edit, space, group_edit, group_list, password_edit, accept, decline, status, bar, ready_summary;
    HWND desktop_box, quick_launch_box;
    HWND finish_box[FINISH_OPTION_COUNT];
    FinishOption finish[FINISH_OPTION_COUNT];
    Picture *header_picture, *logo_picture;
    Picture *page_picture[PAGE_COUNT]; /* beside the first text of some inner pages */
    HMODULE rich_edit;
} Wizard;

static Wizard g_wizard;

static wchar_t *text(const Wizard *w, int role)
{
    return installer_text(w->in, role);
}

static HWND add(Wizard *w, WizardPage page, const wchar_t *cls, const wchar_t *caption, DWORD style, DWORD ex_style,
                int x, int y, int cx, int cy, int id)
{
    HWND h = CreateWindowExW(ex_style, cls, caption, WS_CHILD | style, x, y, cx, cy, w->window,
                             (HMENU)(INT_PTR)id, GetModuleHandleW(NULL), NULL);
    SendMessageW(h, WM_SETFONT, (WPARAM)w->font, 0);
    if (w->control_count[page] < MAX_PAGE_CONTROLS)
        w->controls[page][w->control_count[page]++] = h;
    return h;
}

/* A label of an install text role. */
static HWND add_text(Wizard *w, WizardPage page, int role, int x, int y, int cx, int cy)
{
    wchar_t *t = text(w, role);
    HWND h = add(w, page, L"STATIC", t, 0, 0, x, y, cx, cy, 0);
    xfree(t);
    return h;
}

static Picture *load_picture(const Wizard *w, int number)
{
    wchar_t *path = installer_side_file(w->in, number);
    Picture *p = picture_load(path);
    if (!p)
        log_line(LOG_WARN, L"Picture missing or unreadable: %ls", path);
    xfree(path);
    return p;
}

/* The side file of the small picture of a page, 0 for pages without one. */
static int page_picture_side_file(WizardPage page)
{
    switch (page) {
    case PAGE_FOLDER: return SIDE_FILE_FOLDER_PICTURE;
    case PAGE_SHORTCUTS: return SIDE_FILE_SHORTCUTS_PICTURE;
    case PAGE_PASSWORD: return SIDE_FILE_PASSWORD_PICTURE;
    default: return 0;
    }
}

/* Where the texts beside a page's picture start. */
static int page_text_left(const Wizard *w, WizardPage page)
{
    return WIZARD_MARGIN + (w->page_picture[page] ? WIZARD_PAGE_PICTURE_SIZE + WIZARD_PAGE_PICTURE_GAP : 0);
}

/* The first text of an inner page, beside the page's picture when it has one; returns where
 * the page's controls start. The build leaves the picture out where it does not apply, so a
 * missing one is no fault. */
static int add_intro(Wizard *w, WizardPage page, int role, int height)
{
    int number = page_picture_side_file(page);
    if (number) {
        wchar_t *path = installer_side_file(w->in, number);
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
            w->page_picture[page] = picture_load(path);
        xfree(path);
    }
    int x = page_text_left(w, page), below = height + 8;
    if (w->page_picture[page]) {
        if (below < WIZARD_PAGE_PICTURE_SIZE + 8)
            below = WIZARD_PAGE_PICTURE_SIZE + 8;
    }
    if (role >= 0)
        add_text(w, page, role, x, WIZARD_INNER_TOP, WIZARD_PAGE_WIDTH - WIZARD_MARGIN - x, height);
    return WIZARD_INNER_TOP + (role >= 0 || w->page_picture[page] ? below : 0);
}

static wchar_t *edit_text(HWND edit)
{
    int n = GetWindowTextLengthW(edit);
    wchar_t *t = xalloc(((size_t)n + 1) * sizeof(wchar_t));
    GetWindowTextW(edit, t, n + 1);
    return t;
}

/* ---------- rich text of the licence and information pages ---------- */

static DWORD CALLBACK stream_in(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG *got)
{
    DWORD n = 0;
    BOOL ok = ReadFile((HANDLE)cookie, buf, (DWORD)cb, &n, NULL);
    *got = (LONG)n;
    return ok ? 0 : 1;
}

/* A read-only rich edit across the page; it shows its scroll bar only while its text is
 * longer than it is high. */
static HWND add_rich_edit(Wizard *w, WizardPage page, DWORD style, int y, int height)
{
    HWND r = add(w, page, RICHEDIT_CLASSW, L"", WS_VSCROLL | ES_AUTOVSCROLL | ES_MULTILINE | ES_READONLY | style,
                 WS_EX_CLIENTEDGE, WIZARD_MARGIN, y, WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN, height, 0);
    SendMessageW(r, EM_SETBKGNDCOLOR, 0, (LPARAM)GetSysColor(COLOR_WINDOW));
    return r;
}

static HWND add_rich_text(Wizard *w, WizardPage page, int y, int height)
{
    HWND r = add_rich_edit(w, page, WS_TABSTOP, y, height);
    wchar_t *path = installer_side_file(w->in, wizard_text_side_file(w->in->script, w->in->language, page));
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f != INVALID_HANDLE_VALUE) {
        EDITSTREAM es = {(DWORD_PTR)f, 0, stream_in};
        SendMessageW(r, EM_STREAMIN, SF_RTF, (LPARAM)&es);
        CloseHandle(f);
    } else {
        log_line(LOG_WARN, L"Text of the page missing: %ls", path);
    }
    xfree(path);
    return r;
}

/* ---------- the pages ---------- */

static void create_side_texts(Wizard *w, WizardPage page)
{
    WizardPageTexts t = wizard_page_texts(page);
    HWND title = add_text(w, page, t.title, WIZARD_SIDE_LEFT, WIZARD_MARGIN, WIZARD_SIDE_WIDTH, 56);
    SendMessageW(title, WM_SETFONT, (WPARAM)w->title_font, 0);
    add_text(w, page, t.description, WIZARD_SIDE_LEFT, WIZARD_MARGIN + 64, WIZARD_SIDE_WIDTH, 80);
}

static void create_welcome(Wizard *w)
{
    create_side_texts(w, PAGE_WELCOME);
}

static void create_licence(Wizard *w)
{
    const int top = WIZARD_INNER_TOP, radios = 44;
    add_rich_text(w, PAGE_LICENCE, top, WIZARD_PAGE_HEIGHT - top - radios - 4);
    wchar_t *a = text(w, TXT_LICENCE_ACCEPT), *d = text(w, TXT_LICENCE_DECLINE);
    int y = WIZARD_PAGE_HEIGHT - radios;
    w->accept = add(w, PAGE_LICENCE, L"BUTTON", a, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0, WIZARD_MARGIN, y,
                    WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN, 18, ID_ACCEPT);
    w->decline = add(w, PAGE_LICENCE, L"BUTTON", d, BS_AUTORADIOBUTTON, 0, WIZARD_MARGIN, y + 20,
                     WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN, 18, ID_DECLINE);
    SendMessageW(w->decline, BM_SETCHECK, BST_CHECKED, 0);
    xfree(a);
    xfree(d);
}

static void create_information(Wizard *w)
{
    add_rich_text(w, PAGE_INFORMATION, WIZARD_INNER_TOP, WIZARD_INNER_HEIGHT);
}

static void create_password(Wizard *w)
{
    int mode = (int)script_number(w->in->script, FLD_PASSWORD_MODE);
    int y = add_intro(w, PAGE_PASSWORD, TXT_PASSWORD_ENTER, 32);
    w->password_edit = add(w, PAGE_PASSWORD, L"EDIT", L"",
                           WS_TABSTOP | ES_AUTOHSCROLL | (mode & PASSWORD_HIDDEN ? ES_PASSWORD : 0) |
                               (mode & PASSWORD_UPPER_CASE ? ES_UPPERCASE : 0),
                           WS_EX_CLIENTEDGE, WIZARD_MARGIN, y, 260, 22, 0);
}

static void create_folder(Wizard *w)
{
    const int width = WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN;
    int y = add_intro(w, PAGE_FOLDER, TXT_FOLDER, 32);
    int fixed = script_flag(w->in->script, FLD_FIXED_FOLDER);
    w->folder_edit = add(w, PAGE_FOLDER, L"EDIT", w->in->install_path, WS_TABSTOP | ES_AUTOHSCROLL | (fixed ? ES_READONLY : 0),
                         WS_EX_CLIENTEDGE, WIZARD_MARGIN, y, width - WIZARD_BUTTON_WIDTH - WIZARD_BUTTON_GAP,
                         22, ID_FOLDER);
    wchar_t *b = text(w, TXT_BROWSE);
    HWND browse = add(w, PAGE_FOLDER, L"BUTTON", b, WS_TABSTOP | BS_PUSHBUTTON, 0,
                      WIZARD_PAGE_WIDTH - WIZARD_MARGIN - WIZARD_BUTTON_WIDTH, y - 1,
                      WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT, ID_BROWSE);
    EnableWindow(browse, !fixed);
    xfree(b);
    w->space = add(w, PAGE_FOLDER, L"STATIC", L"", 0, 0, WIZARD_MARGIN, WIZARD_PAGE_HEIGHT - 44, width, 36, 0);
}

/* The free space of the drive a folder goes on: its nearest folder that exists; 0 when the
 * path names no drive. */
static int free_space(const wchar_t *folder, unsigned long long *bytes)
{
    wchar_t *path = w_dup(folder);
    int found = 0;
    while (*path && !found) {
        ULARGE_INTEGER available;
        found = GetDiskFreeSpaceExW(path, &available, NULL, NULL) != 0;
        *bytes = available.QuadPart;
        wchar_t *up = path_folder(path);
        int same = wcscmp(up, path) == 0;
        xfree(path);
        path = same ? w_dup(L"") : up;
        if (same)
            xfree(up);
    }
    xfree(path);
    return found;
}

static unsigned long long required_space(const Wizard *w)
{
    return (unsigned long long)script_number(w->in->script, FLD_REQUIRED_KB) * 1024;
}

/* The space the installation needs, against the space of the folder typed or browsed. */
static void update_space(Wizard *w)
{
    wchar_t *folder = edit_text(w->folder_edit), *label = text(w, TXT_SPACE_REQUIRED);
    wchar_t *required = w_size_text(required_space(w));
    unsigned long long bytes;
    wchar_t *line;
    if (free_space(folder, &bytes)) {
        wchar_t *free_label = text(w, TXT_SPACE_AVAILABLE), *available = w_size_text(bytes);
        line = w_fmt(L"%ls %ls\r\n%ls %ls", label, required, free_label, available);
        xfree(free_label);
        xfree(available);
    } else {
        line = w_fmt(L"%ls %ls", label, required);
    }
    SetWindowTextW(w->space, line);
    xfree(line);
    xfree(required);
    xfree(label);
    xfree(folder);
}

/* The program groups already in the Start menu the shortcuts go in: its folders, sorted by
 * the list box, hidden ones left out. */
static void list_groups(HWND list, const wchar_t *programs)
{
    wchar_t *pattern = path_join(programs, L"*");
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(pattern, &found);
    xfree(pattern);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const DWORD skip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & skip) &&
            wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)found.cFileName);
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

/* The group's name in the edit, which is what Next takes; below it the existing groups, of
 * which the one chosen gives its name to the edit. The lock forbids both. */
static void create_group(Wizard *w)
{
    const int width = WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN, list_top = WIZARD_INNER_TOP + 70;
    add_text(w, PAGE_GROUP, TXT_GROUP, WIZARD_MARGIN, WIZARD_INNER_TOP, width, 32);
    wchar_t *group = vars_expand_a(&w->in->vars, script_field(w->in->script, FLD_GROUP));
    int fixed = script_flag(w->in->script, FLD_FIXED_GROUP);
    w->group_edit = add(w, PAGE_GROUP, L"EDIT", group, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                        WIZARD_MARGIN, WIZARD_INNER_TOP + 40, width, 22, 0);
    w->group_list = add(w, PAGE_GROUP, L"LISTBOX", L"",
                        WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                        WIZARD_MARGIN, list_top, width, WIZARD_PAGE_HEIGHT - WIZARD_MARGIN / 2 - list_top,
                        ID_GROUP_LIST);
    wchar_t *programs = installer_programs_folder(w->in);
    if (programs)
        list_groups(w->group_list, programs);
    xfree(programs);
    /* The group the setup proposes shows as chosen when it exists already. */
    LRESULT proposed = SendMessageW(w->group_list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)group);
    SendMessageW(w->group_list, LB_SETCURSEL, (WPARAM)proposed, 0);
    EnableWindow(w->group_edit, !fixed);
    EnableWindow(w->group_list, !fixed);
    xfree(group);
}

static void group_chosen(Wizard *w)
{
    LRESULT k = SendMessageW(w->group_list, LB_GETCURSEL, 0, 0);
    LRESULT n = k == LB_ERR ? LB_ERR : SendMessageW(w->group_list, LB_GETTEXTLEN, (WPARAM)k, 0);
    if (n == LB_ERR)
        return;
    wchar_t *name = xalloc(((size_t)n + 1) * sizeof(wchar_t));
    SendMessageW(w->group_list, LB_GETTEXT, (WPARAM)k, (LPARAM)name);
    SetWindowTextW(w->group_edit, name);
    xfree(name);
}

static void create_shortcuts(Wizard *w)
{
    WizardShortcutOptions o = wizard_shortcut_options(w->in->script);
    add_intro(w, PAGE_SHORTCUTS, -1, 0); /* the choices stand beside the picture */
    const int left = page_text_left(w, PAGE_SHORTCUTS), width = WIZARD_PAGE_WIDTH - WIZARD_MARGIN - left;
    int y = WIZARD_INNER_TOP + 4;
    if (o.desktop) {
        wchar_t *t = text(w, TXT_SHORTCUT_DESKTOP);
        w->desktop_box = add(w, PAGE_SHORTCUTS, L"BUTTON", t, BS_AUTOCHECKBOX | WS_TABSTOP, 0, left, y, width, 18, 0);
        SendMessageW(w->desktop_box, BM_SETCHECK, BST_CHECKED, 0);
        xfree(t);
        y += 24;
    }
    if (o.quick_launch) {
        wchar_t *t = text(w, TXT_SHORTCUT_QUICK_LAUNCH);
        w->quick_launch_box = add(w, PAGE_SHORTCUTS, L"BUTTON", t, BS_AUTOCHECKBOX | WS_TABSTOP, 0, left, y, width, 18, 0);
        SendMessageW(w->quick_launch_box, BM_SETCHECK, BST_CHECKED, 0);
        xfree(t);
    }
}

static void create_ready(Wizard *w)
{
    w->ready_summary = add_rich_edit(w, PAGE_READY, 0, WIZARD_INNER_TOP, WIZARD_INNER_HEIGHT);
}

static void create_progress(Wizard *w)
{
    const int width = WIZARD_PAGE_WIDTH - 2 * WIZARD_MARGIN;
    w->status = add(w, PAGE_PROGRESS, L"STATIC", L"", SS_PATHELLIPSIS, 0, WIZARD_MARGIN, WIZARD_PROGRESS_STATUS_TOP, width,
                    WIZARD_PROGRESS_LINE_HEIGHT, 0);
    w->bar = add(w, PAGE_PROGRESS, PROGRESS_CLASSW, L"", 0, 0, WIZARD_MARGIN, WIZARD_PROGRESS_BAR_TOP, width,
                 WIZARD_PROGRESS_LINE_HEIGHT, 0);
}

static void create_finish(Wizard *w)
{
    create_side_texts(w, PAGE_FINISH);
}

static void enter_licence(Wizard *w)
{
    int accepted = SendMessageW(w->accept, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EnableWindow(w->next, accepted);
    if (!accepted) /* the keyboard starts on the choice: Up accepts */
        SetFocus(w->decline);
}

static void enter_password(Wizard *w)
{
    SetFocus(w->password_edit);
}

static void enter_ready(Wizard *w)
{
    wchar_t *folder = text(w, TXT_FOLDER_LABEL), *group = text(w, TXT_GROUP_LABEL);
    wchar_t *path = w->folder_edit ? edit_text(w->folder_edit) : w_dup(w->in->install_path);
    wchar_t *summary;
    if (w->group_edit) {
        wchar_t *g = edit_text(w->group_edit);
        summary = w_fmt(L"%ls\r\n    %ls\r\n\r\n%ls\r\n    %ls", folder, path, group, g);
        xfree(g);
    } else {
        summary = w_fmt(L"%ls\r\n    %ls", folder, path);
    }
    SetWindowTextW(w->ready_summary, summary);
    xfree(summary);
    xfree(path);
    xfree(folder);
    xfree(group);
}

static void enter_progress(Wizard *w)
{
    ui_progress_attach(w->window, w->status, w->bar);
}

static void enter_finish(Wizard *w)
{
    int y = WIZARD_MARGIN + 150;
    for (int k = 0; k < FINISH_OPTION_COUNT; k++) {
        if (!w->finish[k].offered || w->finish_box[k])
            continue;
        wchar_t *t = text(w, w->finish[k].text);
        w->finish_box[k] = add(w, PAGE_FINISH, L"BUTTON", t, BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0,
                               WIZARD_SIDE_LEFT, y, WIZARD_SIDE_WIDTH, 18, ID_FIRST_OPTION + k);
        SendMessageW(w->finish_box[k], BM_SETCHECK, w->finish[k].ticked ? BST_CHECKED : BST_UNCHECKED, 0);
        xfree(t);
        y += 24;
    }
}

static int validate_password(Wizard *w)
{
    wchar_t *typed = edit_text(w->password_edit);
    int ok = password_matches(w->in->script, typed);
    xfree(typed);
    if (!ok) {
        wchar_t *t = text(w, TXT_PASSWORD_WRONG);
        ui_error(t);
        xfree(t);
        SetFocus(w->password_edit);
    }
    return ok;
}

static int validate_folder(Wizard *w)
{
    wchar_t *path = edit_text(w->folder_edit);
    unsigned long long available;
    int absolute = path_is_absolute(path);
    int room = !absolute || !free_space(path, &available) || available >= required_space(w);
    xfree(path);
    if (!absolute) {
        ui_error(L"The install folder is not a full path.");
    } else if (!room) {
        wchar_t *t = text(w, TXT_DISK_FULL);
        ui_error(t);
        xfree(t);
    }
    return absolute && room;
}

static void next_folder(Wizard *w)
{
    Installer *in = w->in;
    xfree(in->install_path);
    in->install_path = edit_text(w->folder_edit);
    path_strip_slash(in->install_path);
    vars_set_install_path(&in->vars, in->install_path);
}

static void next_group(Wizard *w)
{
    Installer *in = w->in;
    wchar_t *group = edit_text(w->group_edit);
    wchar_t *folder = installer_group_folder(in, group);
    if (folder) {
        xfree(in->group_folder);
        in->group_folder = folder;
    }
    xfree(group);
}

static void next_shortcuts(Wizard *w)
{
    w->in->no_desktop = w->desktop_box && SendMessageW(w->desktop_box, BM_GETCHECK, 0, 0) != BST_CHECKED;
    w->in->no_quick_launch = w->quick_launch_box && SendMessageW(w->quick_launch_box, BM_GETCHECK, 0, 0) != BST_CHECKED;
}

typedef struct {
    void (*create)(Wizard *w);
    void (*enter)(Wizard *w);     /* after its controls are shown */
    int (*validate)(Wizard *w);   /* 1 when Next may leave it */
    void (*next)(Wizard *w);      /* takes its values into the installer */
    int inner;                    /* shows the header (else the logo) */
    const wchar_t *name;          /* in the run log */
} PageKind;

static const PageKind PAGES[PAGE_COUNT] = {
    [PAGE_WELCOME] = {create_welcome, NULL, NULL, NULL, 0, L"welcome"},
    [PAGE_LICENCE] = {create_licence, enter_licence, NULL, NULL, 1, L"licence"},
    [PAGE_INFORMATION] = {create_information, NULL, NULL, NULL, 1, L"information"},
    [PAGE_PASSWORD] = {create_password, enter_password, validate_password, NULL, 1, L"password"},
    [PAGE_FOLDER] = {create_folder, update_space, validate_folder, next_folder, 1, L"folder"},
    [PAGE_GROUP] = {create_group, NULL, NULL, next_group, 1, L"group"},
    [PAGE_SHORTCUTS] = {create_shortcuts, NULL, NULL, next_shortcuts, 1, L"shortcuts"},
    [PAGE_READY] = {create_ready, enter_ready, NULL, NULL, 1, L"ready"},
    [PAGE_PROGRESS] = {create_progress, enter_progress, NULL, NULL, 1, L"progress"},
    [PAGE_FINISH] = {create_finish, enter_finish, NULL, NULL, 0, L"finish"},
};

/* ---------- the window ---------- */

static WizardPage current(const Wizard *w)
{
    return w->plan.page[w->position];
}

static void show_page(Wizard *w, int position)
{
    if (w->position >= 0 && w->position < w->plan.count) {
        WizardPage old = current(w);
        for (int i = 0; i < w->control_count[old]; i++)
            ShowWindow(w->controls[old][i], SW_HIDE);
    }
    w->position = position;
    WizardPage page = current(w);
    log_line(LOG_INFO, L"Wizard page: %ls", PAGES[page].name);
    for (int i = 0; i < w->control_count[page]; i++)
        ShowWindow(w->controls[page][i], SW_SHOW);
    WizardButtons b = wizard_buttons(&w->plan, position);
    wchar_t *next = text(w, b.next_text);
    SetWindowTextW(w->next, next);
    xfree(next);
    EnableWindow(w->back, b.back);
    EnableWindow(w->next, b.next);
    EnableWindow(w->cancel, b.cancel);
    /* The keyboard stays in the window: Enter and Escape work on every page. */
    SetFocus(b.next ? w->next : w->cancel);
    if (PAGES[page].enter)
        PAGES[page].enter(w);
    RedrawWindow(w->window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

static void go_next(Wizard *w)
{
    WizardPage page = current(w);
    if (PAGES[page].validate && !PAGES[page].validate(w))
        return;
    if (PAGES[page].next)
        PAGES[page].next(w);
    if (w->position + 1 >= w->plan.count || w->plan.page[w->position + 1] == PAGE_PROGRESS || page == PAGE_FINISH)
        w->result = 1;
    else
        show_page(w, w->position + 1);
}

static int confirm_cancel(Wizard *w)
{
    wchar_t *q = text(w, TXT_CANCEL_QUESTION);
    int yes = ui_ask(q, 0);
    xfree(q);
    return yes;
}

static void browse(Wizard *w)
{
    wchar_t *t = text(w, TXT_FOLDER_QUESTION);
    BROWSEINFOW bi = {0};
    bi.hwndOwner = w->window;
    bi.lpszTitle = t;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    HRESULT com = CoInitialize(NULL);
    LPITEMIDLIST item = SHBrowseForFolderW(&bi);
    if (item) {
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(item, path)) {
            /* The product's folder name goes below the chosen folder. */
            wchar_t *name = vars_expand_a(&w->in->vars, script_field(w->in->script, FLD_INSTALL_NAME));
            wchar_t *full = *name ? path_join(path, name) : w_dup(path);
            SetWindowTextW(w->folder_edit, full);
            xfree(full);
            xfree(name);
        }
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    xfree(t);
}

/* The page's small picture at its own size, or shrunk into its square when larger. */
static void paint_page_picture(Wizard *w, HDC dc)
{
    const Picture *p = w->page_picture[current(w)];
    if (!p)
        return;
    int cx, cy;
    picture_size(p, &cx, &cy);
    if (cx > WIZARD_PAGE_PICTURE_SIZE || cy > WIZARD_PAGE_PICTURE_SIZE) {
        int larger = cx > cy ? cx : cy;
        cx = cx * WIZARD_PAGE_PICTURE_SIZE / larger;
        cy = cy * WIZARD_PAGE_PICTURE_SIZE / larger;
    }
    picture_draw(dc, p, WIZARD_MARGIN, WIZARD_INNER_TOP, cx > 0 ? cx : 1, cy > 0 ? cy : 1, 0);
}

/* The header of the inner pages: frame, gradient or white, picture, title and description
 * at the positions the author chose. */
static void paint_header(Wizard *w, HDC dc)
{
    const Script *s = w->in->script;
    RECT r = {0, 0, WIZARD_HEADER_WIDTH, WIZARD_HEADER_HEIGHT};
    int gradient = script_flag(s, FLD_HEADER_GRADIENT);
    COLORREF end = gradient ? script_colour(s, FLD_HEADER_COLOUR_END) : RGB(255, 255, 255);
    HBRUSH fill = CreateSolidBrush(end);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    if (gradient) {
        /* One column at a time, from the start colour to the end colour. */
        COLORREF start = script_colour(s, FLD_HEADER_COLOUR_START);
        const int n = WIZARD_HEADER_GRADIENT_WIDTH;
        for (int x = 0; x < n; x++) {
            int r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
            COLORREF c = RGB(r0 + (GetRValue(end) - r0) * x / (n - 1), g0 + (GetGValue(end) - g0) * x / (n - 1),
                             b0 + (GetBValue(end) - b0) * x / (n - 1));
            RECT column = {WIZARD_HEADER_FRAME + x, WIZARD_HEADER_FRAME, WIZARD_HEADER_FRAME + x + 1,
                           WIZARD_HEADER_FRAME + WIZARD_HEADER_GRADIENT_HEIGHT};
            HBRUSH brush = CreateSolidBrush(c);
            FillRect(dc, &column, brush);
            DeleteObject(brush);
        }
    }
    picture_draw(dc, w->header_picture, (int)script_number_or(s, FLD_HEADER_PICTURE_X, WIZARD_HEADER_PICTURE_X),
                 (int)script_number_or(s, FLD_HEADER_PICTURE_Y, WIZARD_HEADER_PICTURE_Y) + WIZARD_HEADER_FRAME,
                 0, 0, script_flag(s, FLD_HEADER_PICTURE_TRANSPARENT));
    WizardPageTexts t = wizard_page_texts(current(w));
    wchar_t *title = text(w, t.title), *description = text(w, t.description);
    /* Positions left empty (a setup made without them) take the wizard's default layout. */
    RECT d = {(int)script_number_or(s, FLD_HEADER_DESCRIPTION_X, WIZARD_HEADER_DESCRIPTION_X),
              (int)script_number_or(s, FLD_HEADER_DESCRIPTION_Y, WIZARD_HEADER_DESCRIPTION_Y),
              WIZARD_HEADER_WIDTH - 4, WIZARD_HEADER_HEIGHT - 2};
    wizard_paint_header_texts(dc, w->bold, w->font,
                              (int)script_number_or(s, FLD_HEADER_TITLE_X, WIZARD_HEADER_TITLE_X),
                              (int)script_number_or(s, FLD_HEADER_TITLE_Y, WIZARD_HEADER_TITLE_Y), d, title, description);
    xfree(title);
    xfree(description);
    paint_page_picture(w, dc);
}

/* The logo strip of the first and last page, white behind the picture. */
static void paint_logo(Wizard *w, HDC dc)
{
    const Script *s = w->in->script;
    RECT page = {0, 0, WIZARD_PAGE_WIDTH, WIZARD_PAGE_HEIGHT};
    FillRect(dc, &page, (HBRUSH)GetStockObject(WHITE_BRUSH));
    RECT r = {0, 0, WIZARD_LOGO_WIDTH, WIZARD_LOGO_HEIGHT};
    FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    picture_draw(dc, w->logo_picture, (int)script_number(s, FLD_LOGO_X) + 1, (int)script_number(s, FLD_LOGO_Y) + 1, 0, 0,
                 script_flag(s, FLD_LOGO_TRANSPARENT));
}

static void paint(Wizard *w)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w->window, &ps);
    if (w->position >= 0 && w->position < w->plan.count) {
        if (PAGES[current(w)].inner)
            paint_header(w, dc);
        else
            paint_logo(w, dc);
    }
    wizard_paint_separator(dc, WIZARD_PAGE_HEIGHT); /* above the button bar */
    EndPaint(w->window, &ps);
}

static LRESULT CALLBACK wizard_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    Wizard *w = &g_wizard;
    switch (msg) {
    case WM_PAINT:
        paint(w);
        return 0;
    case WM_CTLCOLORSTATIC: {
        /* Texts of the logo pages stand on white; the button bar keeps the window's colour. */
        if (w->window && (HWND)lp != w->footer && w->position >= 0 && w->position < w->plan.count &&
            !PAGES[current(w)].inner) {
            SetBkColor((HDC)wp, RGB(255, 255, 255));
            return (LRESULT)GetStockObject(WHITE_BRUSH);
        }
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: /* Enter: the default button, when it may be pressed */
            if (IsWindowEnabled(w->next))
                go_next(w);
            return 0;
        case IDCANCEL: /* Escape */
            if (IsWindowEnabled(w->cancel))
                SendMessageW(h, WM_COMMAND, ID_CANCEL, 0);
            return 0;
        case ID_NEXT:
            go_next(w);
            return 0;
        case ID_BACK:
            if (w->position > 0)
                show_page(w, w->position - 1);
            return 0;
        case ID_CANCEL:
            if (current(w) == PAGE_PROGRESS)
                ui_cancel();
            else if (confirm_cancel(w))
                w->result = -1;
            return 0;
        case ID_BROWSE:
            browse(w);
            return 0;
        case ID_FOLDER:
            if (HIWORD(wp) == EN_CHANGE)
                update_space(w);
            return 0;
        case ID_GROUP_LIST:
            if (HIWORD(wp) == LBN_SELCHANGE)
                group_chosen(w);
            return 0;
        case ID_ACCEPT:
        case ID_DECLINE:
            enter_licence(w);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (IsWindowEnabled(w->cancel))
            SendMessageW(h, WM_COMMAND, ID_CANCEL, 0);
        else if (current(w) == PAGE_FINISH)
            w->result = 1;
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

static void open_window(Wizard *w)
{
    Installer *in = w->in;
    HINSTANCE inst = GetModuleHandleW(NULL);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    w->rich_edit = LoadLibraryW(L"riched20.dll");
    const wchar_t *class_name = ui_window_class(L"SetupWizard", wizard_proc);
    wchar_t *title = vars_expand_a(&in->vars, script_field(in->script, FLD_TITLE));
    if (!*title) {
        xfree(title);
        title = text(w, TXT_SETUP);
    }
    w->background = wizard_background_open(in);
    w->window = ui_wizard_window(class_name, title, w->background); /* in front of the background */
    xfree(title);
    w->font = ui_font(0, FW_NORMAL);
    w->bold = ui_font(0, FW_BOLD);
    w->title_font = ui_font(-19, FW_BOLD);

    const int y = WIZARD_BUTTON_TOP, cancel_x = WIZARD_CANCEL_LEFT;
    const int next_x = cancel_x - WIZARD_BUTTON_GAP - WIZARD_BUTTON_WIDTH;
    const int back_x = next_x - WIZARD_BUTTON_WIDTH;
    wchar_t *back = text(w, TXT_BACK), *cancel = text(w, TXT_CANCEL);
    /* Buttons belong to no page: PAGE_COUNT keeps them out of the page lists. */
    w->back = CreateWindowW(L"BUTTON", back, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, back_x, y,
                            WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT, w->window, (HMENU)ID_BACK, inst, NULL);
    w->next = CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, next_x, y,
                            WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT, w->window, (HMENU)ID_NEXT, inst, NULL);
    w->cancel = CreateWindowW(L"BUTTON", cancel, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, cancel_x, y,
                              WIZARD_BUTTON_WIDTH, WIZARD_BUTTON_HEIGHT, w->window, (HMENU)ID_CANCEL, inst, NULL);
    wchar_t *footer = vars_expand_a(&in->vars, script_field(in->script, FLD_FOOTER));
    w->footer = CreateWindowW(L"STATIC", footer, WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS,
                              WIZARD_MARGIN, y + 4, back_x - 2 * WIZARD_MARGIN, 18, w->window, NULL, inst, NULL);
    xfree(footer);
    HWND bar[] = {w->back, w->next, w->cancel, w->footer};
    for (int i = 0; i < 4; i++)
        SendMessageW(bar[i], WM_SETFONT, (WPARAM)w->font, 0);
    xfree(back);
    xfree(cancel);

    if (script_flag(in->script, FLD_HEADER_PICTURE))
        w->header_picture = load_picture(w, SIDE_FILE_HEADER_PICTURE);
    if (script_flag(in->script, FLD_LOGO))
        w->logo_picture = load_picture(w, SIDE_FILE_LOGO);
    for (int i = 0; i < w->plan.count; i++)
        PAGES[w->plan.page[i]].create(w);
    wchar_t *q = text(w, TXT_CANCEL_QUESTION);
    ui_set_cancel_question(q);
    xfree(q);
    ShowWindow(w->window, SW_SHOW);
}

/* Runs the window until the current page ends the wizard or the user cancels. */
static int run_until_result(Wizard *w)
{
    w->result = 0;
    MSG m;
    while (!w->result && GetMessageW(&m, NULL, 0, 0) > 0) {
        if (!IsDialogMessageW(w->window, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    return w->result;
}

/* The one way out: every handle of the window goes. */
static void close_window(Wizard *w)
{
    if (w->window)
        DestroyWindow(w->window);
    wizard_background_close(w->background);
    picture_free(w->header_picture);
    picture_free(w->logo_picture);
    for (int i = 0; i < PAGE_COUNT; i++)
        picture_free(w->page_picture[i]);
    HGDIOBJ objects[] = {w->font, w->bold, w->title_font};
    for (size_t i = 0; i < sizeof objects / sizeof objects[0]; i++)
        if (objects[i])
            DeleteObject(objects[i]);
    if (w->rich_edit)
        FreeLibrary(w->rich_edit);
    memset(w, 0, sizeof *w);
}

int wizard_shows_finish(void)
{
    return g_wizard.window && wizard_plan_find(&g_wizard.plan, PAGE_FINISH) >= 0;
}

int wizard_open(void)
{
    return g_wizard.window != NULL;
}

int wizard_before(Installer *in)
{
    Wizard *w = &g_wizard;
    memset(w, 0, sizeof *w);
    w->in = in;
    w->position = -1;
    wizard_plan(in->script, in->opt.password != NULL, &w->plan);
    open_window(w);
    int progress = wizard_plan_find(&w->plan, PAGE_PROGRESS);
    if (progress == 0)
        return 1;
    show_page(w, 0);
    if (run_until_result(w) < 0) {
        log_line(LOG_INFO, L"Cancelled before installing.");
        close_window(w);
        return 0;
    }
    return 1;
}

void wizard_progress(Installer *in)
{
    Wizard *w = &g_wizard;
    if (!w->window)
        return;
    show_page(w, wizard_plan_find(&w->plan, PAGE_PROGRESS));
    UpdateWindow(w->window);
}

static void do_finish_options(Wizard *w)
{
    Installer *in = w->in;
    for (int k = 0; k < FINISH_OPTION_COUNT; k++) {
        if (!w->finish_box[k] || SendMessageW(w->finish_box[k], BM_GETCHECK, 0, 0) != BST_CHECKED)
            continue;
        if (k == FINISH_RESTART) {
            HANDLE token;
            if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
                TOKEN_PRIVILEGES p = {1};
                LookupPrivilegeValueW(NULL, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid);
                p.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
                AdjustTokenPrivileges(token, FALSE, &p, 0, NULL, NULL);
                CloseHandle(token);
            }
            log_line(LOG_INFO, L"Restarting the computer.");
            ExitWindowsEx(EWX_REBOOT, 0);
            continue;
        }
        wchar_t *what = vars_expand_a(&in->vars, w->finish[k].what);
        if (k != FINISH_WEB && *what && !path_is_absolute(what)) {
            wchar_t *full = path_join(in->install_path, what);
            xfree(what);
            what = full;
        }
        log_line(LOG_INFO, L"Opening %ls", what);
        ShellExecuteW(NULL, L"open", what, NULL, in->install_path, SW_SHOWNORMAL);
        xfree(what);
    }
}

void wizard_finish(Installer *in, int succeeded)
{
    Wizard *w = &g_wizard;
    if (!w->window)
        return;
    int finish = wizard_plan_find(&w->plan, PAGE_FINISH);
    if (succeeded && finish >= 0) {
        wizard_finish_options(in->script, in->restart, w->finish);
        show_page(w, finish);
        if (run_until_result(w) > 0)
            do_finish_options(w);
    }
    close_window(w);
}
