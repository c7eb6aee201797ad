/* Unpacking the data block's side files: stored records, or one cabinet through FDI. */
#include "data_block.h"
#include "cabinet.h"
#include "text.h"

#include <windows.h>
#include <string.h>

static wchar_t *side_file_target(const wchar_t *folder, const char *name)
{
    size_t plen = strlen(SIDE_FILE_PREFIX);
    if (strncmp(name, SIDE_FILE_PREFIX, plen) != 0)
        return NULL;
    const char *rest = name + plen;
    if (!*rest || strpbrk(rest, "\\/:") || strstr(rest, ".."))
        return NULL;
    wchar_t *w = w_from_ansi(rest);
    wchar_t *p = path_join(folder, w);
    xfree(w);
    return p;
}

typedef struct {
    SetupFile *setup;
    const wchar_t *folder;
    wchar_t *error;
    int count;
} DataCab;

static int data_materialise(void *ctx, int index, const wchar_t *path)
{
    DataCab *d = ctx;
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    DWORD put;
    int ok = WriteFile(h, CABINET_SIGNATURE, 4, &put, NULL) && put == 4;
    unsigned long long at = d->setup->trailer.script_end, left = d->setup->trailer.data_size;
    static unsigned char piece[COPY_PIECE];
    while (ok && left) {
        size_t n = left > COPY_PIECE ? COPY_PIECE : (size_t)left;
        ok = setup_read_at(d->setup, at, piece, n) && WriteFile(h, piece, (DWORD)n, &put, NULL) && put == n;
        at += n;
        left -= n;
    }
    CloseHandle(h);
    return ok && index == 0;
}

static HANDLE data_open_file(void *ctx, const char *name, long size, USHORT date, USHORT time,
                             USHORT attributes, int *abort)
{
    DataCab *d = ctx;
    wchar_t *path = side_file_target(d->folder, name);
    if (!path)
        return NULL; /* not a side file: ignored */
    d->count++;
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    xfree(path);
    if (h == INVALID_HANDLE_VALUE) {
        d->error = w_dup(L"A file of the installation's data block could not be written.");
        *abort = 1;
        return NULL;
    }
    return h;
}

static int data_close_file(void *ctx, HANDLE h, const char *name, USHORT date, USHORT time,
                           USHORT attributes)
{
    return CloseHandle(h);
}

wchar_t *data_block_extract(SetupFile *s, const wchar_t *folder, int *count)
{
    *count = 0;
    if (s->trailer.data_size == 0)
        return NULL;
    if (s->trailer.cabinets) {
        DataCab d = {s, folder, NULL, 0};
        CabSink sink = {&d, data_materialise, data_open_file, data_close_file, NULL};
        wchar_t *err = cab_extract_chain(&sink, 1, folder);
        if (d.error) {
            xfree(err);
            return d.error;
        }
        if (err) {
            wchar_t *msg = w_fmt(L"The setup file's data block cannot be unpacked: %ls.", err);
            xfree(err);
            return msg;
        }
        *count = d.count;
        return NULL;
    }
    /* Stored records: name, 0, size in decimal, 0, bytes. */
    unsigned long long at = s->trailer.script_end, end = s->trailer.data_end;
    while (at < end) {
        char head[600];
        size_t n = end - at < sizeof head ? (size_t)(end - at) : sizeof head;
        if (!setup_read_at(s, at, head, n))
            return w_dup(L"The setup file's data block cannot be read.");
        char *z1 = memchr(head, 0, n);
        char *z2 = z1 ? memchr(z1 + 1, 0, n - (size_t)(z1 + 1 - head)) : NULL;
        unsigned long long size;
        if (!z2 || !parse_u64(z1 + 1, &size) || size > end - at - (unsigned long long)(z2 + 1 - head))
            return w_dup(L"The setup file is damaged: its data block is not well formed.");
        at += (unsigned long long)(z2 + 1 - head);
        wchar_t *path = side_file_target(folder, head);
        if (path) {
            ++*count;
            HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            xfree(path);
            if (h == INVALID_HANDLE_VALUE)
                return w_dup(L"A file of the installation's data block could not be written.");
            static unsigned char piece[COPY_PIECE];
            unsigned long long left = size, pos = at;
            int ok = 1;
            while (ok && left) {
                size_t k = left > COPY_PIECE ? COPY_PIECE : (size_t)left;
                DWORD put;
                ok = setup_read_at(s, pos, piece, k) && WriteFile(h, piece, (DWORD)k, &put, NULL) && put == k;
                pos += k;
                left -= k;
            }
            CloseHandle(h);
            if (!ok)
                return w_dup(L"A file of the installation's data block could not be written.");
        }
        at += size;
    }
    return NULL;
}
