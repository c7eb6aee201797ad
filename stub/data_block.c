#include "data_block.h"
#include "text.h"

#include <string.h>

wchar_t *side_file_target(const wchar_t *folder, const char *name)
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

wchar_t *data_block_extract_stored(SetupFile *s, const wchar_t *folder, int *count)
{
    *count = 0;
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
            OsFile *f = os_file_create(path);
            xfree(path);
            if (!f)
                return w_dup(L"A file of the installation's data block could not be written.");
            static unsigned char piece[COPY_PIECE];
            unsigned long long left = size, pos = at;
            int ok = 1;
            while (ok && left) {
                size_t k = left > COPY_PIECE ? COPY_PIECE : (size_t)left;
                ok = setup_read_at(s, pos, piece, k) && os_file_write(f, piece, k);
                pos += k;
                left -= k;
            }
            os_file_close(f);
            if (!ok)
                return w_dup(L"A file of the installation's data block could not be written.");
        }
        at += size;
    }
    return NULL;
}
