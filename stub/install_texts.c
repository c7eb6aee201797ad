#include <windows.h>

#include "install_texts.h"

#define INSTALL_TEXT_ROW(n, name, text) [n] = L"" text,
static const wchar_t *const defaults[INSTALL_TEXT_COUNT + 1] = {INSTALL_TEXTS(INSTALL_TEXT_ROW)};

const wchar_t *install_text_default(int n)
{
    return n >= 1 && n <= INSTALL_TEXT_COUNT && defaults[n] ? defaults[n] : L"";
}
