#include "setup_file.h"
#include "cabinet.h"
#include "text.h"

#include <string.h>

#define COPY_PIECE 61440

int setup_read_at(SetupFile *s, unsigned long long offset, void *buf, size_t n)
{
    LARGE_INTEGER li;
    li.QuadPart = (LONGLONG)offset;
    if (!SetFilePointerEx(s->file, li, NULL, FILE_BEGIN))
        return 0;
    unsigned char *p = buf;
    while (n) {
        DWORD want = n > (1u << 20) ? (1u << 20) : (DWORD)n, got = 0;
        if (!ReadFile(s->file, p, want, &got, NULL) || got == 0)
            return 0;
        p += got;
        n -= got;
    }
    return 1;
}

wchar_t *setup_open(SetupFile *s, const wchar_t *path)
{
    memset(s, 0, sizeof *s);
    s->path = w_dup(path);
    s->folder = path_folder(path);
    s->file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, NULL);
    if (s->file == INVALID_HANDLE_VALUE) {
        s->file = NULL;
        return w_fmt(L"The setup file %ls cannot be opened (error %u).", path, (unsigned)GetLastError());
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(s->file, &size))
        return w_dup(L"The size of the setup file cannot be read.");
    s->size = (unsigned long long)size.QuadPart;
    unsigned char raw[TRAILER_SIZE];
    if (s->size < TRAILER_SIZE || !setup_read_at(s, s->size - TRAILER_SIZE, raw, TRAILER_SIZE))
        return w_dup(L"The setup file is damaged: it is too short to hold an installation.");
    const wchar_t *why = trailer_read(raw, s->size, &s->trailer);
    if (why)
        return w_fmt(L"The setup file is damaged: %ls.", why);
    unsigned long long len = s->trailer.script_end - s->trailer.script_start;
    if (len > 256u * 1024 * 1024)
        return w_dup(L"The setup file is damaged: its installation script is implausibly large.");
    char *buf = xalloc((size_t)len + 1);
    if (!setup_read_at(s, s->trailer.script_start, buf, (size_t)len)) {
        xfree(buf);
        return w_dup(L"The setup file's installation script cannot be read.");
    }
    why = script_parse(buf, (size_t)len, &s->script);
    if (why)
        return w_fmt(L"The setup file is damaged: %ls.", why);
    return NULL;
}

void setup_close(SetupFile *s)
{
    if (s->file)
        CloseHandle(s->file);
    script_free(&s->script);
    xfree(s->path);
    xfree(s->folder);
    memset(s, 0, sizeof *s);
}

wchar_t *volume_path(const SetupFile *s, const wchar_t *pattern, int volume)
{
    if (volume == 0)
        return w_dup(s->path);
    WBuf b = {0};
    wchar_t number[16];
    _snwprintf(number, 15, L"%d", volume + 1);
    number[15] = 0;
    /* Only the code of %I% is replaced: the build names the volumes the same way. */
    const wchar_t *code = VAR_CODE_PREFIX L"19";
    for (const wchar_t *p = pattern; *p;) {
        if (wcsncmp(p, code, VAR_CODE_LEN) == 0) {
            wb_add(&b, number);
            p += VAR_CODE_LEN;
        } else {
            wb_addc(&b, *p++);
        }
    }
    wchar_t *name = wb_take(&b);
    wchar_t *path = path_join(s->folder, name);
    xfree(name);
    return path;
}

void payload_open(PayloadReader *r, SetupFile *s, AskVolumeFn ask, void *ask_ctx)
{
    memset(r, 0, sizeof *r);
    r->setup = s;
    r->pattern = w_from_ansi(script_field(&s->script, FLD_VOLUME_PATTERN));
    r->h = s->file;
    r->volume = 0;
    r->left = s->size - TRAILER_SIZE - s->trailer.data_end;
    r->ask = ask;
    r->ask_ctx = ask_ctx;
    LARGE_INTEGER li;
    li.QuadPart = (LONGLONG)s->trailer.data_end;
    SetFilePointerEx(s->file, li, NULL, FILE_BEGIN);
}

static void set_error(PayloadReader *r, wchar_t *text)
{
    xfree(r->error);
    r->error = text;
}

static int next_volume(PayloadReader *r)
{
    if (r->h && r->h != r->setup->file)
        CloseHandle(r->h);
    r->h = NULL;
    if (script_flag(&r->setup->script, FLD_SINGLE_FILE)) {
        set_error(r, w_dup(L"The setup file is damaged: its data ends early."));
        return 0;
    }
    r->volume++;
    wchar_t *path = volume_path(r->setup, r->pattern, r->volume);
    for (;;) {
        HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        if (h != INVALID_HANDLE_VALUE) {
            LARGE_INTEGER size;
            GetFileSizeEx(h, &size);
            r->h = h;
            r->left = (unsigned long long)size.QuadPart;
            xfree(path);
            return 1;
        }
        if (!r->ask || !r->ask(r->ask_ctx, r->volume + 1, path)) {
            set_error(r, w_fmt(L"Disk %d of the installation (%ls) is missing.", r->volume + 1, path));
            r->missing_volume = 1;
            xfree(path);
            return 0;
        }
    }
}

static int read_some(PayloadReader *r, void *buf, DWORD want, DWORD *got)
{
    while (r->left == 0) {
        if (!next_volume(r))
            return 0;
    }
    if (want > r->left)
        want = (DWORD)r->left;
    if (!ReadFile(r->h, buf, want, got, NULL) || *got == 0) {
        set_error(r, w_fmt(L"Disk %d of the installation cannot be read: it is shorter than expected.",
                           r->volume + 1));
        return 0;
    }
    r->left -= *got;
    return 1;
}

int payload_read(PayloadReader *r, void *buf, size_t n)
{
    unsigned char *p = buf;
    while (n) {
        DWORD got = 0, want = n > COPY_PIECE ? COPY_PIECE : (DWORD)n;
        if (!read_some(r, p, want, &got))
            return 0;
        p += got;
        n -= got;
    }
    return 1;
}

int payload_copy(PayloadReader *r, HANDLE h, unsigned long long n, int (*tick)(void *), void *ctx)
{
    static unsigned char piece[COPY_PIECE];
    while (n) {
        DWORD got = 0, want = n > COPY_PIECE ? COPY_PIECE : (DWORD)n;
        if (!read_some(r, piece, want, &got))
            return 0;
        if (h) {
            DWORD put = 0;
            if (!WriteFile(h, piece, got, &put, NULL) || put != got) {
                set_error(r, w_fmt(L"A file could not be written (error %u).", (unsigned)GetLastError()));
                return 0;
            }
        }
        n -= got;
        if (tick && !tick(ctx)) {
            set_error(r, w_dup(L"Installation was cancelled."));
            return 0;
        }
    }
    return 1;
}

void payload_close(PayloadReader *r)
{
    if (r->h && r->h != r->setup->file)
        CloseHandle(r->h);
    xfree(r->pattern);
    xfree(r->error);
    memset(r, 0, sizeof *r);
}

/* ---- data block ---- */

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
