/* Small helpers for wide strings, growable buffers, conversions and Windows paths (the
 * installer's paths use "\" on every system the code is compiled for). */
#ifndef BVQ_STUB_TEXT_H
#define BVQ_STUB_TEXT_H

#include "os.h"

#include <stddef.h>
#include <wchar.h>

typedef struct {
    wchar_t *p;
    size_t len;
    size_t cap;
} WBuf;

void wb_addn(WBuf *b, const wchar_t *s, size_t n);
void wb_add(WBuf *b, const wchar_t *s);
void wb_addc(WBuf *b, wchar_t c);
void wb_add_u64(WBuf *b, unsigned long long v);
wchar_t *wb_take(WBuf *b);          /* the text (never NULL); the buffer is reset */
void wb_free(WBuf *b);

wchar_t *w_dup(const wchar_t *s);
wchar_t *w_dupn(const wchar_t *s, size_t n);
wchar_t *w_cat(const wchar_t *a, const wchar_t *b);
wchar_t *w_cat3(const wchar_t *a, const wchar_t *b, const wchar_t *c);
wchar_t *w_fmt(const wchar_t *fmt, ...);   /* %ls and %d, %u, %x of the C library */
wchar_t *w_from_ansi(const char *s);       /* system ANSI code page */
wchar_t *w_from_ansi_n(const char *s, size_t n);
wchar_t *w_from_utf8(const char *s, size_t n);
char *utf8_from_w(const wchar_t *s, int *out_len);
char *ansi_from_w(const wchar_t *s);
/* The uninstall log's encoding: UTF-16 little endian, whatever the size of wchar_t. */
unsigned char *utf16le_from_w(const wchar_t *s, size_t n, size_t *bytes);
wchar_t *w_from_utf16le(const unsigned char *bytes, size_t n); /* n / 2 units; odd byte ignored */
wchar_t *w_u64(unsigned long long v);
/* A size for people: "1.50 Kb", "4.77 Mb", "1 024.00 Mb", "1.15 Gb"; "0,00 Kb" for nothing,
 * as the authoring program writes it into the texts. */
wchar_t *w_size_text(unsigned long long bytes);

int w_ieq(const wchar_t *a, const wchar_t *b);        /* case-insensitive equality */
int w_starts_i(const wchar_t *s, const wchar_t *prefix);
int w_ends_i(const wchar_t *s, const wchar_t *suffix);

/* Decimal number parsing of script values: the whole text must be a number. */
int parse_u64(const char *s, unsigned long long *out);
int parse_i64(const char *s, long long *out);
int wparse_i64(const wchar_t *s, long long *out);

/* Paths */
wchar_t *path_join(const wchar_t *folder, const wchar_t *name);
wchar_t *path_folder(const wchar_t *path);     /* without trailing backslash; "" when none */
const wchar_t *path_name(const wchar_t *path); /* pointer into path */
void path_strip_slash(wchar_t *path);          /* removes trailing backslashes except "C:\" */
int path_is_absolute(const wchar_t *path);

#endif
