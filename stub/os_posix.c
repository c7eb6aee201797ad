/* The services of os.h on POSIX systems, for the native test program of the installer's
 * platform-neutral code. Paths are UTF-8 on disk, with "\" read as "/"; "ANSI" is
 * Windows-1252. */
#define _POSIX_C_SOURCE 200809L
#include "os.h"

#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

static void out_of_memory(void)
{
    fputs("Out of memory.\n", stderr);
    abort();
}

void *xalloc(size_t n)
{
    void *p = calloc(1, n ? n : 1);
    if (!p)
        out_of_memory();
    return p;
}

void *xrealloc(void *p, size_t n)
{
    p = realloc(p, n ? n : 1);
    if (!p)
        out_of_memory();
    return p;
}

void xfree(void *p)
{
    free(p);
}

struct OsFile {
    int fd;
};

/* The installer's paths separate with "\\"; here they are file names with "/". */
static char *file_name(const wchar_t *path)
{
    char *name = os_narrow(CODE_PAGE_UTF8, path, NULL);
    for (char *p = name; *p; p++)
        if (*p == '\\')
            *p = '/';
    return name;
}

static OsFile *open_path(const wchar_t *path, int flags)
{
    char *name = file_name(path);
    int fd = open(name, flags | O_CLOEXEC, 0644);
    xfree(name);
    if (fd < 0)
        return NULL;
    OsFile *f = xalloc(sizeof *f);
    f->fd = fd;
    return f;
}

OsFile *os_file_open_read(const wchar_t *path)
{
    return open_path(path, O_RDONLY);
}

OsFile *os_file_create(const wchar_t *path)
{
    return open_path(path, O_WRONLY | O_CREAT | O_TRUNC);
}

int os_file_size(OsFile *f, unsigned long long *size)
{
    struct stat st;
    if (fstat(f->fd, &st) != 0)
        return 0;
    *size = (unsigned long long)st.st_size;
    return 1;
}

int os_file_seek(OsFile *f, unsigned long long offset)
{
    return lseek(f->fd, (off_t)offset, SEEK_SET) != (off_t)-1;
}

size_t os_file_read(OsFile *f, void *buf, size_t n)
{
    for (;;) {
        ssize_t got = read(f->fd, buf, n);
        if (got >= 0)
            return (size_t)got;
        if (errno != EINTR)
            return 0;
    }
}

int os_file_write(OsFile *f, const void *buf, size_t n)
{
    const unsigned char *p = buf;
    while (n) {
        ssize_t put = write(f->fd, p, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return 0;
        p += put;
        n -= (size_t)put;
    }
    return 1;
}

int os_file_close(OsFile *f)
{
    int ok = close(f->fd) == 0;
    xfree(f);
    return ok;
}

int os_file_replace(const wchar_t *from, const wchar_t *to)
{
    char *a = file_name(from), *b = file_name(to);
    int ok = rename(a, b) == 0;
    xfree(a);
    xfree(b);
    return ok;
}

int os_file_delete(const wchar_t *path)
{
    char *name = file_name(path);
    int ok = unlink(name) == 0;
    xfree(name);
    return ok;
}

unsigned os_last_error(void)
{
    return (unsigned)errno;
}

static const char *charset(unsigned code_page, char *buf, size_t cap)
{
    if (code_page == CODE_PAGE_UTF8)
        return "UTF-8";
    snprintf(buf, cap, "CP%u", code_page == CODE_PAGE_ANSI ? 1252u : code_page);
    return buf;
}

/* Converts with iconv; a byte sequence the code page does not define is passed on as the
 * code of its first byte, as the system's conversion does for the undefined bytes of 1252. */
static size_t convert(iconv_t cd, const char *in, size_t n, char *out, size_t cap, size_t unit)
{
    char *src = (char *)in, *dst = out;
    size_t left = n, room = cap;
    while (left) {
        if (iconv(cd, &src, &left, &dst, &room) != (size_t)-1)
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        if (unit == sizeof(wchar_t)) { /* to wide: the byte itself */
            wchar_t c = (unsigned char)*src;
            memcpy(dst, &c, sizeof c);
            dst += sizeof c;
            room -= sizeof c;
            src++;
            left--;
        } else { /* to bytes: "?" for a character the code page cannot hold */
            *dst++ = '?';
            room--;
            src += sizeof(wchar_t);
            left -= left < sizeof(wchar_t) ? left : sizeof(wchar_t);
        }
    }
    return (size_t)(dst - out);
}

/* The Windows locale data of the languages whose ANSI code page is not Windows-1252, by
 * primary language (the low ten bits of the identifier); Chinese depends on the script. */
unsigned os_language_code_page(unsigned language_id)
{
    static const struct {
        unsigned short primary, code_page;
    } pages[] = {
        {0x01, 1256}, {0x02, 1251}, {0x05, 1250}, {0x08, 1253}, {0x0d, 1255}, {0x0e, 1250}, {0x11, 932},
        {0x12, 949},  {0x15, 1250}, {0x18, 1250}, {0x19, 1251}, {0x1a, 1250}, {0x1b, 1250}, {0x1e, 874},
        {0x1f, 1254}, {0x20, 1256}, {0x22, 1251}, {0x23, 1251}, {0x24, 1250}, {0x25, 1257}, {0x26, 1257},
        {0x27, 1257}, {0x29, 1256}, {0x2a, 1258}, {0x2f, 1251}, {0x3f, 1251}, {0x40, 1251}, {0x44, 1251},
    };
    unsigned primary = language_id & 0x3ffu;
    if (primary == 0x04) /* Chinese: simplified in the PRC and Singapore */
        return (language_id >> 10) == 2 || (language_id >> 10) == 4 ? 936 : 950;
    for (size_t i = 0; i < sizeof pages / sizeof pages[0]; i++)
        if (pages[i].primary == primary)
            return pages[i].code_page;
    return primary ? 1252 : CODE_PAGE_ANSI;
}

wchar_t *os_widen(unsigned code_page, const char *s, size_t n)
{
    if (!s || !n)
        return xalloc(sizeof(wchar_t));
    char name[16];
    iconv_t cd = iconv_open("WCHAR_T", charset(code_page, name, sizeof name));
    if (cd == (iconv_t)-1)
        out_of_memory();
    wchar_t *w = xalloc((n + 1) * sizeof(wchar_t));
    size_t bytes = convert(cd, s, n, (char *)w, n * sizeof(wchar_t), sizeof(wchar_t));
    iconv_close(cd);
    w[bytes / sizeof(wchar_t)] = 0;
    return w;
}

char *os_narrow(unsigned code_page, const wchar_t *s, size_t *out_len)
{
    s = s ? s : L"";
    size_t n = wcslen(s), cap = n * 4 + 1;
    char name[16];
    iconv_t cd = iconv_open(charset(code_page, name, sizeof name), "WCHAR_T");
    if (cd == (iconv_t)-1)
        out_of_memory();
    char *out = xalloc(cap);
    size_t len = convert(cd, (const char *)s, n * sizeof(wchar_t), out, cap - 1, 1);
    iconv_close(cd);
    out[len] = 0;
    if (out_len)
        *out_len = len;
    return out;
}

int os_equal_ignoring_case(const wchar_t *a, size_t an, const wchar_t *b, size_t bn)
{
    if (an != bn)
        return 0;
    for (size_t i = 0; i < an; i++)
        if (towlower((wint_t)a[i]) != towlower((wint_t)b[i]))
            return 0;
    return 1;
}

void os_upper_case(wchar_t *text)
{
    for (; *text; text++)
        *text = (wchar_t)towupper((wint_t)*text);
}

int os_vformat(wchar_t *buf, size_t cap, const wchar_t *fmt, va_list ap)
{
    int n = vswprintf(buf, cap, fmt, ap);
    return n >= 0 && (size_t)n < cap ? n : -1;
}

wchar_t *os_short_path(const wchar_t *path)
{
    wchar_t *copy = xalloc((wcslen(path) + 1) * sizeof(wchar_t));
    wcscpy(copy, path);
    return copy;
}
