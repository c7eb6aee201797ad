/* Message boxes, and the progress window of runs without the wizard (the uninstaller's). In
 * silent mode every call does nothing and questions get their default answer. */
#ifndef BVQ_STUB_UI_H
#define BVQ_STUB_UI_H

#include <windows.h>

void ui_init(int silent, const wchar_t *title);
/* The code page of the texts shown from now on (CODE_PAGE_ANSI: the system's). */
void ui_set_code_page(unsigned code_page);
/* The system's dialog font in the character set of that code page, so that the system picks
 * a face with its letters (Cyrillic on a Western system, say); height 0: the system's size. */
HFONT ui_font(int height, int weight);
/* Registers a top-level window class of the setup's look (its icon, dialog colour); returns name. */
const wchar_t *ui_window_class(const wchar_t *name, WNDPROC proc);
/* Creates (hidden) a top-level window of the wizard's size, centred on the screen, with the
 * title; owner may be NULL. */
HWND ui_wizard_window(const wchar_t *class_name, const wchar_t *title, HWND owner);
int ui_silent(void);
/* Opens the progress window, laid out like the wizard's progress page: title and description
 * in its header; cancel: the text of its button. */
void ui_progress_show(const wchar_t *title, const wchar_t *description, const wchar_t *cancel);
void ui_status(const wchar_t *text);
void ui_progress(unsigned long long done, unsigned long long total);
int ui_pump(void);              /* 0 once the user has cancelled */
void ui_progress_hide(void);
/* Makes another window's controls the progress window (the wizard's progress page); hiding
 * then leaves that window alone. */
void ui_progress_attach(HWND window, HWND status, HWND bar);
/* The user asked to cancel: the next ui_pump asks whether to. */
void ui_cancel(void);
/* The question asked before cancelling, in the language in use. */
void ui_set_cancel_question(const wchar_t *text);
void ui_error(const wchar_t *text);
void ui_info(const wchar_t *text);
/* Yes/no question; silent runs answer with the default. */
int ui_ask(const wchar_t *text, int default_yes);
/* OK/cancel question; silent runs answer OK. */
int ui_ok_cancel(const wchar_t *text);
/* Retry/cancel question; silent runs answer cancel. */
int ui_retry(const wchar_t *text);

#endif
