/* The services of os.h on Windows, for the installer and the uninstaller. */
#include "os.h"

#include <windows.h>

static void out_of_memory(void)
{
    MessageBoxW(NULL, L"Out of memory.", L"Setup", MB_ICONERROR);
    ExitProcess(2);
}

void *xalloc(size_t n)
{
    void *p = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, n ? n : 1);
    if (!p)
        out_of_memory();
    return p;
}

void *xrealloc(void *p, size_t n)
{
    if (!p)
        return xalloc(n);
    p = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, p, n ? n : 1);
    if (!p)
        out_of_memory();
    return p;
}

void xfree(void *p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

static OsFile *from_handle(HANDLE h)
{
    return h == INVALID_HANDLE_VALUE ? NULL : (OsFile *)h;
}

OsFile *os_file_open_read(const wchar_t *path)
{
    return from_handle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, NULL));
}

OsFile *os_file_create(const wchar_t *path)
{
    return from_handle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
}

int os_file_size(OsFile *f, unsigned long long *size)
{
    LARGE_INTEGER li;
    if (!GetFileSizeEx((HANDLE)f, &li))
        return 0;
    *size = (unsigned long long)li.QuadPart;
    return 1;
}

int os_file_seek(OsFile *f, unsigned long long offset)
{
    LARGE_INTEGER li;
    li.QuadPart = (LONGLONG)offset;
    return SetFilePointerEx((HANDLE)f, li, NULL, FILE_BEGIN) != 0;
}

size_t os_file_read(OsFile *f, void *buf, size_t n)
{
    DWORD want = n > (1u << 30) ? (1u << 30) : (DWORD)n, got = 0;
    return ReadFile((HANDLE)f, buf, want, &got, NULL) ? got : 0;
}

int os_file_write(OsFile *f, const void *buf, size_t n)
{
    const unsigned char *p = buf;
    while (n) {
        DWORD want = n > (1u << 30) ? (1u << 30) : (DWORD)n, put = 0;
        if (!WriteFile((HANDLE)f, p, want, &put, NULL) || put != want)
            return 0;
        p += put;
        n -= put;
    }
    return 1;
}

int os_file_close(OsFile *f)
{
    return CloseHandle((HANDLE)f) != 0;
}

int os_file_replace(const wchar_t *from, const wchar_t *to)
{
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

int os_file_delete(const wchar_t *path)
{
    return DeleteFileW(path) != 0;
}

unsigned os_last_error(void)
{
    return (unsigned)GetLastError();
}

static UINT system_code_page(unsigned code_page)
{
    return code_page == CODE_PAGE_ANSI ? CP_ACP : code_page;
}

wchar_t *os_widen(unsigned code_page, const char *s, size_t n)
{
    if (!s || !n)
        return xalloc(sizeof(wchar_t));
    UINT cp = system_code_page(code_page);
    int len = MultiByteToWideChar(cp, 0, s, (int)n, NULL, 0);
    wchar_t *p = xalloc(((size_t)len + 1) * sizeof(wchar_t));
    MultiByteToWideChar(cp, 0, s, (int)n, p, len);
    return p;
}

unsigned os_language_code_page(unsigned language_id)
{
    DWORD cp = 0;
    if (!GetLocaleInfoW(MAKELCID(language_id, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        (LPWSTR)&cp, sizeof cp / sizeof(wchar_t)) || !IsValidCodePage(cp))
        return CODE_PAGE_ANSI;
    return (unsigned)cp;
}

char *os_narrow(unsigned code_page, const wchar_t *s, size_t *out_len)
{
    UINT cp = system_code_page(code_page);
    s = s ? s : L"";
    int len = WideCharToMultiByte(cp, 0, s, -1, NULL, 0, NULL, NULL);
    char *p = xalloc((size_t)len + 1);
    WideCharToMultiByte(cp, 0, s, -1, p, len, NULL, NULL);
    if (out_len)
        *out_len = len > 0 ? (size_t)len - 1 : 0;
    return p;
}

int os_equal_ignoring_case(const wchar_t *a, size_t an, const wchar_t *b, size_t bn)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, (int)an, b, (int)bn) == CSTR_EQUAL;
}

void os_upper_case(wchar_t *text)
{
    CharUpperW(text);
}

int os_vformat(wchar_t *buf, size_t cap, const wchar_t *fmt, va_list ap)
{
    if (cap == 0)
        return -1;
    int n = _vsnwprintf(buf, cap - 1, fmt, ap);
    buf[cap - 1] = 0;
    return n >= 0 && (size_t)n < cap - 1 ? n : -1;
}

wchar_t *os_short_path(const wchar_t *path)
{
    DWORD n = GetShortPathNameW(path, NULL, 0);
    if (n > 0) {
        wchar_t *s = xalloc((n + 1) * sizeof(wchar_t));
        if (GetShortPathNameW(path, s, n + 1))
            return s;
        xfree(s);
    }
    wchar_t *copy = xalloc((wcslen(path) + 1) * sizeof(wchar_t));
    wcscpy(copy, path);
    return copy;
}
