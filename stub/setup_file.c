#include "setup_file.h"
#include "text.h"

#include <string.h>

int setup_read_at(SetupFile *s, unsigned long long offset, void *buf, size_t n)
{
    if (!os_file_seek(s->file, offset))
        return 0;
    unsigned char *p = buf;
    while (n) {
        size_t want = n > (1u << 20) ? (1u << 20) : n, got = os_file_read(s->file, p, want);
        if (got == 0)
            return 0;
        p += got;
        n -= got;
    }
    return 1;
}

static unsigned read_le32(const unsigned char *p)
{
    return (unsigned)p[0] | (unsigned)p[1] << 8 | (unsigned)p[2] << 16 | (unsigned)p[3] << 24;
}

/* A signing tool appends a certificate table, named by the PE security directory, and pads
 * the file with at most 7 zero bytes before it: the setup's own content ends there. The
 * trailer's last byte is never zero, so the padding is told apart from it. Unsigned files
 * keep their size. */
static unsigned long long content_end(SetupFile *s)
{
    unsigned char dos[64], head[26], entry[8];
    if (s->size < sizeof dos || !setup_read_at(s, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return s->size;
    unsigned long long pe = read_le32(dos + 60);
    if (pe + sizeof head > s->size || !setup_read_at(s, pe, head, sizeof head) || memcmp(head, "PE\0\0", 4) != 0)
        return s->size;
    unsigned magic = head[24] | head[25] << 8;
    /* Data directory 4 (security): 96 + 32 bytes into a 32-bit optional header, 16 more in a 64-bit one */
    unsigned long long dirs = pe + 24 + (magic == 0x20b ? 112 : 96);
    if ((magic != 0x10b && magic != 0x20b) || !setup_read_at(s, dirs + 32, entry, sizeof entry))
        return s->size;
    unsigned long long offset = read_le32(entry), size = read_le32(entry + 4);
    if (size == 0 || offset + size != s->size)
        return s->size;
    unsigned char tail[7];
    size_t n = offset < sizeof tail ? (size_t)offset : sizeof tail;
    if (!setup_read_at(s, offset - n, tail, n))
        return s->size;
    while (n > 0 && tail[n - 1] == 0) {
        n--;
        offset--;
    }
    return offset;
}

wchar_t *setup_open(SetupFile *s, const wchar_t *path)
{
    memset(s, 0, sizeof *s);
    s->path = w_dup(path);
    s->folder = path_folder(path);
    s->file = os_file_open_read(path);
    if (!s->file)
        return w_fmt(L"The setup file %ls cannot be opened (error %u).", path, os_last_error());
    if (!os_file_size(s->file, &s->size))
        return w_dup(L"The size of the setup file cannot be read.");
    s->size = content_end(s);
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
        os_file_close(s->file);
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
    /* Only the code of %I% is replaced: the build names the volumes the same way. */
    wchar_t *code = var_code(VAR_I);
    for (const wchar_t *p = pattern; *p;) {
        if (wcsncmp(p, code, VAR_CODE_LEN) == 0) {
            wb_add_u64(&b, (unsigned long long)volume + 1);
            p += VAR_CODE_LEN;
        } else {
            wb_addc(&b, *p++);
        }
    }
    xfree(code);
    wchar_t *name = wb_take(&b);
    wchar_t *path = path_join(s->folder, name);
    xfree(name);
    return path;
}

int payload_cabinet_count(const Script *s)
{
    return (int)script_number(s, FLD_LAST_CABINET) + 1;
}

unsigned long long payload_cabinet_size(const Script *s, int index)
{
    return index < payload_cabinet_count(s) - 1 ? (unsigned long long)script_number(s, FLD_CABINET_SIZE)
                                               : (unsigned long long)script_number(s, FLD_LAST_CABINET_SIZE);
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
    os_file_seek(s->file, s->trailer.data_end);
}

static void set_error(PayloadReader *r, wchar_t *text)
{
    xfree(r->error);
    r->error = text;
}

static int next_volume(PayloadReader *r)
{
    if (r->h && r->h != r->setup->file)
        os_file_close(r->h);
    r->h = NULL;
    if (script_flag(&r->setup->script, FLD_SINGLE_FILE)) {
        set_error(r, w_dup(L"The setup file is damaged: its data ends early."));
        return 0;
    }
    r->volume++;
    wchar_t *path = volume_path(r->setup, r->pattern, r->volume);
    for (;;) {
        OsFile *h = os_file_open_read(path);
        if (h) {
            unsigned long long size = 0;
            os_file_size(h, &size);
            r->h = h;
            r->left = size;
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

static int read_some(PayloadReader *r, void *buf, size_t want, size_t *got)
{
    while (r->left == 0) {
        if (!next_volume(r))
            return 0;
    }
    if (want > r->left)
        want = (size_t)r->left;
    *got = os_file_read(r->h, buf, want);
    if (*got == 0) {
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
        size_t got = 0, want = n > COPY_PIECE ? COPY_PIECE : n;
        if (!read_some(r, p, want, &got))
            return 0;
        p += got;
        n -= got;
    }
    return 1;
}

int payload_copy(PayloadReader *r, PayloadSinkFn sink, void *sink_ctx, unsigned long long n,
                 int (*tick)(void *), void *ctx)
{
    static unsigned char piece[COPY_PIECE];
    while (n) {
        size_t got = 0, want = n > COPY_PIECE ? COPY_PIECE : (size_t)n;
        if (!read_some(r, piece, want, &got))
            return 0;
        if (sink && !sink(sink_ctx, piece, got)) {
            set_error(r, w_fmt(L"A file could not be written (error %u).", os_last_error()));
            return 0;
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
        os_file_close(r->h);
    xfree(r->pattern);
    xfree(r->error);
    memset(r, 0, sizeof *r);
}
