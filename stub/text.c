#include "text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

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

void wb_addn(WBuf *b, const wchar_t *s, size_t n)
{
    if (b->len + n + 1 > b->cap) {
        size_t cap = b->cap ? b->cap * 2 : 64;
        while (cap < b->len + n + 1)
            cap *= 2;
        b->p = xrealloc(b->p, cap * sizeof(wchar_t));
        b->cap = cap;
    }
    memcpy(b->p + b->len, s, n * sizeof(wchar_t));
    b->len += n;
    b->p[b->len] = 0;
}

void wb_add(WBuf *b, const wchar_t *s)
{
    if (s)
        wb_addn(b, s, wcslen(s));
}

void wb_addc(WBuf *b, wchar_t c)
{
    wb_addn(b, &c, 1);
}

void wb_add_u64(WBuf *b, unsigned long long v)
{
    wchar_t tmp[24];
    int i = 23;
    tmp[i] = 0;
    do {
        tmp[--i] = (wchar_t)(L'0' + v % 10);
        v /= 10;
    } while (v);
    wb_add(b, tmp + i);
}

wchar_t *wb_take(WBuf *b)
{
    wchar_t *p = b->p ? b->p : w_dup(L"");
    b->p = NULL;
    b->len = b->cap = 0;
    return p;
}

void wb_free(WBuf *b)
{
    xfree(b->p);
    b->p = NULL;
    b->len = b->cap = 0;
}

wchar_t *w_dupn(const wchar_t *s, size_t n)
{
    wchar_t *p = xalloc((n + 1) * sizeof(wchar_t));
    if (s)
        memcpy(p, s, n * sizeof(wchar_t));
    return p;
}

wchar_t *w_dup(const wchar_t *s)
{
    return w_dupn(s ? s : L"", s ? wcslen(s) : 0);
}

wchar_t *w_cat(const wchar_t *a, const wchar_t *b)
{
    return w_cat3(a, b, L"");
}

wchar_t *w_cat3(const wchar_t *a, const wchar_t *b, const wchar_t *c)
{
    WBuf w = {0};
    wb_add(&w, a);
    wb_add(&w, b);
    wb_add(&w, c);
    return wb_take(&w);
}

wchar_t *w_fmt(const wchar_t *fmt, ...)
{
    size_t cap = 256;
    for (;;) {
        wchar_t *p = xalloc(cap * sizeof(wchar_t));
        va_list ap;
        va_start(ap, fmt);
        int n = _vsnwprintf(p, cap - 1, fmt, ap);
        va_end(ap);
        if (n >= 0 && (size_t)n < cap - 1)
            return p;
        xfree(p);
        cap *= 2;
    }
}

static wchar_t *w_from_cp(UINT cp, const char *s, size_t n)
{
    if (!s || !n)
        return w_dup(L"");
    int len = MultiByteToWideChar(cp, 0, s, (int)n, NULL, 0);
    wchar_t *p = xalloc(((size_t)len + 1) * sizeof(wchar_t));
    MultiByteToWideChar(cp, 0, s, (int)n, p, len);
    return p;
}

wchar_t *w_from_ansi(const char *s)
{
    return w_from_cp(CP_ACP, s, s ? strlen(s) : 0);
}

wchar_t *w_from_ansi_n(const char *s, size_t n)
{
    return w_from_cp(CP_ACP, s, n);
}

wchar_t *w_from_utf8(const char *s, size_t n)
{
    return w_from_cp(CP_UTF8, s, n);
}

static char *w_to_cp(UINT cp, const wchar_t *s, int *out_len)
{
    int len = WideCharToMultiByte(cp, 0, s, -1, NULL, 0, NULL, NULL);
    char *p = xalloc((size_t)len + 1);
    WideCharToMultiByte(cp, 0, s, -1, p, len, NULL, NULL);
    if (out_len)
        *out_len = len > 0 ? len - 1 : 0;
    return p;
}

char *utf8_from_w(const wchar_t *s, int *out_len)
{
    return w_to_cp(CP_UTF8, s ? s : L"", out_len);
}

char *ansi_from_w(const wchar_t *s)
{
    return w_to_cp(CP_ACP, s ? s : L"", NULL);
}

wchar_t *w_u64(unsigned long long v)
{
    WBuf b = {0};
    wb_add_u64(&b, v);
    return wb_take(&b);
}

int w_ieq(const wchar_t *a, const wchar_t *b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

int w_starts_i(const wchar_t *s, const wchar_t *prefix)
{
    size_t n = wcslen(prefix);
    return wcslen(s) >= n &&
           CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, s, (int)n, prefix, (int)n) == CSTR_EQUAL;
}

int w_ends_i(const wchar_t *s, const wchar_t *suffix)
{
    size_t n = wcslen(suffix), m = wcslen(s);
    return m >= n && w_ieq(s + m - n, suffix);
}

int parse_u64(const char *s, unsigned long long *out)
{
    unsigned long long v = 0;
    if (!s || !*s)
        return 0;
    for (; *s; s++) {
        if (*s < '0' || *s > '9')
            return 0;
        unsigned d = (unsigned)(*s - '0');
        if (v > (~0ULL - d) / 10)
            return 0;
        v = v * 10 + d;
    }
    *out = v;
    return 1;
}

int parse_i64(const char *s, long long *out)
{
    unsigned long long v;
    int neg = s && *s == '-';
    if (!parse_u64(neg ? s + 1 : s, &v) || v > 0x7fffffffffffffffULL)
        return 0;
    *out = neg ? -(long long)v : (long long)v;
    return 1;
}

int wparse_i64(const wchar_t *s, long long *out)
{
    char *a = ansi_from_w(s);
    int ok = parse_i64(a, out);
    xfree(a);
    return ok;
}

wchar_t *path_join(const wchar_t *folder, const wchar_t *name)
{
    size_t n = wcslen(folder);
    if (n && (folder[n - 1] == L'\\' || folder[n - 1] == L'/'))
        return w_cat(folder, name);
    return w_cat3(folder, L"\\", name);
}

const wchar_t *path_name(const wchar_t *path)
{
    const wchar_t *p = path;
    for (const wchar_t *q = path; *q; q++)
        if (*q == L'\\' || *q == L'/' || *q == L':')
            p = q + 1;
    return p;
}

wchar_t *path_folder(const wchar_t *path)
{
    const wchar_t *name = path_name(path);
    wchar_t *f = w_dupn(path, (size_t)(name - path));
    path_strip_slash(f);
    return f;
}

void path_strip_slash(wchar_t *path)
{
    size_t n = wcslen(path);
    while (n > 0 && (path[n - 1] == L'\\' || path[n - 1] == L'/')) {
        if (n == 3 && path[1] == L':')
            break;
        if (n == 1)
            break;
        path[--n] = 0;
    }
}

int path_is_absolute(const wchar_t *path)
{
    return (path[0] && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path[0] == L'\\' && path[1] == L'\\');
}
