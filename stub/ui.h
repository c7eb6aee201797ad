/* The minimal window of non-silent runs: a progress window with a status line, message boxes
 * and a password prompt. In silent mode every call does nothing and questions get their
 * default answer. */
#ifndef BVQ_STUB_UI_H
#define BVQ_STUB_UI_H

#include <windows.h>

void ui_init(int silent, const wchar_t *title);
int ui_silent(void);
void ui_progress_show(const wchar_t *heading);
void ui_status(const wchar_t *text);
void ui_progress(unsigned long long done, unsigned long long total);
int ui_pump(void);              /* 0 once the user has cancelled */
void ui_progress_hide(void);
void ui_error(const wchar_t *text);
void ui_info(const wchar_t *text);
/* Yes/no question; silent runs answer with the default. */
int ui_ask(const wchar_t *text, int default_yes);
/* Retry/cancel question; silent runs answer cancel. */
int ui_retry(const wchar_t *text);
/* Prompts for a password; NULL when cancelled (silent: NULL). */
wchar_t *ui_password(const wchar_t *prompt, int hide, int upper);

#endif
