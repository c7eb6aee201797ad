#include "log.h"
#include "text.h"

#include <stdarg.h>
#include <stdio.h>

static HANDLE g_log;
static int g_errors;

void log_open(const wchar_t *path)
{
    if (!path || !*path)
        return;
    g_log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (g_log == INVALID_HANDLE_VALUE)
        g_log = NULL;
}

void log_line(int level, const wchar_t *fmt, ...)
{
    if (level == LOG_ERROR)
        g_errors++;
    if (!g_log)
        return;
    wchar_t text[4096];
    va_list ap;
    va_start(ap, fmt);
    _vsnwprintf(text, 4095, fmt, ap);
    va_end(ap);
    text[4095] = 0;
    SYSTEMTIME t;
    GetLocalTime(&t);
    static const wchar_t *kinds[] = {L"info", L"warn", L"error"};
    wchar_t *line = w_fmt(L"%02u:%02u:%02u  %ls  %ls\r\n", t.wHour, t.wMinute, t.wSecond, kinds[level], text);
    int len;
    char *utf8 = utf8_from_w(line, &len);
    DWORD put;
    WriteFile(g_log, utf8, (DWORD)len, &put, NULL);
    xfree(utf8);
    xfree(line);
}

int log_errors(void)
{
    return g_errors;
}

void log_close(void)
{
    if (g_log)
        CloseHandle(g_log);
    g_log = NULL;
}
