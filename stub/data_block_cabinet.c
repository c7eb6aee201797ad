/* The data block in the cabinet form, unpacked through the system's FDI. */
#include "data_block.h"
#include "cabinet.h"
#include "text.h"

#include <windows.h>
#include <string.h>

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
    return data_block_extract_stored(s, folder, count);
}
