#include "text.h"

#include <stdarg.h>
#include <string.h>
#include <wchar.h>

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
        int n = os_vformat(p, cap, fmt, ap);
        va_end(ap);
        if (n >= 0)
            return p;
        xfree(p);
        cap *= 2;
    }
}

wchar_t *w_from_ansi(const char *s)
{
    return os_widen(CODE_PAGE_ANSI, s, s ? strlen(s) : 0);
}

wchar_t *w_from_ansi_n(const char *s, size_t n)
{
    return os_widen(CODE_PAGE_ANSI, s, n);
}

wchar_t *w_from_utf8(const char *s, size_t n)
{
    return os_widen(CODE_PAGE_UTF8, s, n);
}

char *utf8_from_w(const wchar_t *s, int *out_len)
{
    size_t len;
    char *p = os_narrow(CODE_PAGE_UTF8, s, &len);
    if (out_len)
        *out_len = (int)len;
    return p;
}

char *ansi_from_w(const wchar_t *s)
{
    return os_narrow(CODE_PAGE_ANSI, s, NULL);
}

unsigned char *utf16le_from_w(const wchar_t *s, size_t n, size_t *bytes)
{
    unsigned char *out = xalloc(n * 4 + 2), *p = out;
    for (size_t i = 0; i < n; i++) {
        unsigned long c = (unsigned long)s[i];
        if (c > 0xFFFF && c <= 0x10FFFF) { /* only where wchar_t holds whole code points */
            c -= 0x10000;
            unsigned hi = 0xD800 | (unsigned)(c >> 10), lo = 0xDC00 | (unsigned)(c & 0x3FF);
            *p++ = (unsigned char)hi;
            *p++ = (unsigned char)(hi >> 8);
            c = lo;
        }
        *p++ = (unsigned char)c;
        *p++ = (unsigned char)(c >> 8);
    }
    *bytes = (size_t)(p - out);
    return out;
}

wchar_t *w_from_utf16le(const unsigned char *bytes, size_t n)
{
    size_t units = n / 2;
    wchar_t *out = xalloc((units + 1) * sizeof(wchar_t)), *p = out;
    for (size_t i = 0; i < units; i++) {
        unsigned c = bytes[2 * i] | (unsigned)bytes[2 * i + 1] << 8;
        if (sizeof(wchar_t) > 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            unsigned lo = bytes[2 * i + 2] | (unsigned)bytes[2 * i + 3] << 8;
            if (lo >= 0xDC00 && lo < 0xE000) {
                *p++ = (wchar_t)(0x10000 + ((unsigned long)(c - 0xD800) << 10) + (lo - 0xDC00));
                i++;
                continue;
            }
        }
        *p++ = (wchar_t)c;
    }
    return out;
}

wchar_t *w_u64(unsigned long long v)
{
    WBuf b = {0};
    wb_add_u64(&b, v);
    return wb_take(&b);
}

int w_ieq(const wchar_t *a, const wchar_t *b)
{
    return os_equal_ignoring_case(a, wcslen(a), b, wcslen(b));
}

int w_starts_i(const wchar_t *s, const wchar_t *prefix)
{
    size_t n = wcslen(prefix);
    return wcslen(s) >= n && os_equal_ignoring_case(s, n, prefix, n);
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

wchar_t *w_size_text(unsigned long long bytes)
{
    if (!bytes)
        return w_dup(L"0,00 Kb");
    static const wchar_t *const units[] = {L"Kb", L"Mb", L"Gb"};
    int u = bytes < (1ull << 20) ? 0 : bytes <= (1ull << 30) ? 1 : 2;
    unsigned long long unit = 1ull << (10 * (u + 1));
    unsigned long long hundredths = (bytes * 100 + unit / 2) / unit;
    unsigned long long whole = hundredths / 100;
    unsigned fraction = (unsigned)(hundredths % 100);
    /* one blank between the last three digits of the whole part and those before them */
    if (whole >= 1000)
        return w_fmt(L"%u %03u.%02u %ls", (unsigned)(whole / 1000), (unsigned)(whole % 1000), fraction, units[u]);
    return w_fmt(L"%u.%02u %ls", (unsigned)whole, fraction, units[u]);
}
