/* The operating-system services that the platform-neutral part of the installer needs:
 * memory, reading and writing files, text conversion in a code page, case-insensitive
 * comparison, upper case, formatting, short path forms. os_win32.c implements them for the
 * installer and the uninstaller, os_posix.c for the native test program. Nothing else of
 * the neutral code may depend on the system, nor on the size of wchar_t (16 bits on
 * Windows, 32 on Linux). */
#ifndef BVQ_STUB_OS_H
#define BVQ_STUB_OS_H

#include <stdarg.h>
#include <stddef.h>
#include <wchar.h>

/* Memory; out of memory ends the process (an installer that cannot allocate a few kilobytes
 * cannot continue sensibly). xalloc's memory is zero-filled. */
void *xalloc(size_t n);
void *xrealloc(void *p, size_t n);
void xfree(void *p);

/* Files, by full path. Every call returns 0 (or NULL) on failure; os_last_error() then
 * tells the system's reason as a number for messages. */
typedef struct OsFile OsFile;
OsFile *os_file_open_read(const wchar_t *path); /* others may read and write it meanwhile */
OsFile *os_file_create(const wchar_t *path);    /* created or emptied, for writing */
int os_file_size(OsFile *f, unsigned long long *size);
int os_file_seek(OsFile *f, unsigned long long offset);
size_t os_file_read(OsFile *f, void *buf, size_t n); /* bytes read: 0 at the end or on error */
int os_file_write(OsFile *f, const void *buf, size_t n);
int os_file_close(OsFile *f); /* 0 when data could not be written out */
int os_file_replace(const wchar_t *from, const wchar_t *to); /* rename over an existing file */
int os_file_delete(const wchar_t *path);
unsigned os_last_error(void);

/* Code pages of the text conversions */
#define CODE_PAGE_ANSI 0     /* the system's ANSI code page (Windows-1252 for the tests) */
#define CODE_PAGE_UTF8 65001
/* n bytes to a wide text (n = 0: ""); never NULL */
wchar_t *os_widen(unsigned code_page, const char *s, size_t n);
/* The ANSI code page of a language identifier's texts; CODE_PAGE_ANSI for a language that
 * has none (its texts are then read in the system's code page). */
unsigned os_language_code_page(unsigned language_id);
/* A wide text to bytes; *out_len (may be NULL) gets the length without the terminator. */
char *os_narrow(unsigned code_page, const wchar_t *s, size_t *out_len);

/* Equality of a[0..an) and b[0..bn) without regard to case */
int os_equal_ignoring_case(const wchar_t *a, size_t an, const wchar_t *b, size_t bn);

/* Upper case in place, as the system's user interface makes it */
void os_upper_case(wchar_t *text);

/* vswprintf with the conversions %ls, %d, %u, %x, %02u of both C libraries: the number of
 * characters written, or negative when cap is too small. */
int os_vformat(wchar_t *buf, size_t cap, const wchar_t *fmt, va_list ap);

/* The short (8.3) form of an existing path; the path itself where there is none. */
wchar_t *os_short_path(const wchar_t *path);

#endif
