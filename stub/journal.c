#include "journal.h"
#include "text.h"

#include <stdarg.h>
#include <string.h>

#define BYTE_ORDER_MARK 0xFEFF

void journal_add(Journal *j, wchar_t tag, int count, ...)
{
    if (j->count == j->cap) {
        j->cap = j->cap ? j->cap * 2 : 32;
        j->items = xrealloc(j->items, j->cap * sizeof(JournalRecord));
    }
    JournalRecord *r = &j->items[j->count++];
    memset(r, 0, sizeof *r);
    r->tag = tag;
    r->count = count > JOURNAL_FIELDS ? JOURNAL_FIELDS : count;
    va_list ap;
    va_start(ap, count);
    for (int i = 0; i < r->count; i++)
        r->field[i] = w_dup(va_arg(ap, const wchar_t *));
    va_end(ap);
}

void journal_pop(Journal *j)
{
    if (j->count == 0)
        return;
    JournalRecord *r = &j->items[--j->count];
    for (int i = 0; i < r->count; i++)
        xfree(r->field[i]);
}

const wchar_t *journal_find(const Journal *j, wchar_t tag, int field)
{
    for (size_t i = 0; i < j->count; i++)
        if (j->items[i].tag == tag && field < j->items[i].count)
            return j->items[i].field[field];
    return NULL;
}

static void escape(WBuf *b, const wchar_t *s)
{
    for (; *s; s++) {
        switch (*s) {
        case L'\\': wb_add(b, L"\\\\"); break;
        case L'\t': wb_add(b, L"\\t"); break;
        case L'\n': wb_add(b, L"\\n"); break;
        case L'\r': wb_add(b, L"\\r"); break;
        default: wb_addc(b, *s);
        }
    }
}

int journal_rollback_only(wchar_t tag)
{
    return tag == J_ROLLBACK_FILE || tag == J_ROLLBACK_REG_VALUE || tag == J_ROLLBACK_REG_KEY || tag == J_REG_OLD ||
           tag == J_ROLLBACK_INI || tag == J_INI_OLD;
}

unsigned char *journal_encode(const Journal *j, size_t *bytes)
{
    WBuf b = {0};
    wb_addc(&b, BYTE_ORDER_MARK);
    wb_add(&b, JOURNAL_MAGIC L"\r\n");
    for (size_t i = 0; i < j->count; i++) {
        const JournalRecord *r = &j->items[i];
        if (journal_rollback_only(r->tag))
            continue;
        wb_addc(&b, r->tag);
        for (int k = 0; k < r->count; k++) {
            wb_addc(&b, L'\t');
            escape(&b, r->field[k]);
        }
        wb_add(&b, L"\r\n");
    }
    unsigned char *out = utf16le_from_w(b.p, b.len, bytes);
    wb_free(&b);
    return out;
}

int journal_save(const Journal *j, const wchar_t *path)
{
    size_t size;
    unsigned char *bytes = journal_encode(j, &size);
    /* Written beside and then moved into place, so a reader never sees half a log. */
    wchar_t *tmp = w_cat(path, L".new");
    OsFile *f = os_file_create(tmp);
    int ok = f != NULL;
    if (ok) {
        ok = os_file_write(f, bytes, size);
        ok = os_file_close(f) && ok;
        ok = ok && os_file_replace(tmp, path);
        if (!ok)
            os_file_delete(tmp);
    }
    xfree(tmp);
    xfree(bytes);
    return ok;
}

int journal_decode(Journal *j, const unsigned char *bytes, size_t n)
{
    memset(j, 0, sizeof *j);
    wchar_t *text = w_from_utf16le(bytes, n);
    size_t len = n / 2;
    size_t magic = wcslen(JOURNAL_MAGIC);
    if (len < 1 + magic || text[0] != BYTE_ORDER_MARK || wcsncmp(text + 1, JOURNAL_MAGIC, magic) != 0) {
        xfree(text);
        return 0;
    }
    wchar_t *p = text + 1 + magic;
    while (*p) {
        wchar_t *end = p;
        while (*end && *end != L'\n')
            end++;
        wchar_t *line_end = end;
        if (line_end > p && line_end[-1] == L'\r')
            line_end--;
        if (line_end > p) {
            wchar_t *fields[JOURNAL_FIELDS] = {0};
            int count = 0;
            wchar_t tag = *p;
            wchar_t *q = p + 1;
            while (q < line_end && *q == L'\t' && count < JOURNAL_FIELDS) {
                q++;
                WBuf b = {0};
                wb_add(&b, L"");
                while (q < line_end && *q != L'\t') {
                    if (*q == L'\\' && q + 1 < line_end) {
                        q++;
                        wb_addc(&b, *q == L't' ? L'\t' : *q == L'n' ? L'\n' : *q == L'r' ? L'\r' : *q);
                    } else {
                        wb_addc(&b, *q);
                    }
                    q++;
                }
                fields[count++] = wb_take(&b);
            }
            journal_add(j, tag, 0);
            JournalRecord *r = &j->items[j->count - 1];
            r->count = count;
            memcpy(r->field, fields, sizeof fields);
        }
        p = *end ? end + 1 : end;
    }
    xfree(text);
    return 1;
}

int journal_load(Journal *j, const wchar_t *path)
{
    memset(j, 0, sizeof *j);
    OsFile *f = os_file_open_read(path);
    if (!f)
        return 0;
    unsigned long long size;
    if (!os_file_size(f, &size) || size > 64 * 1024 * 1024 || size < 2) {
        os_file_close(f);
        return 0;
    }
    size_t n = (size_t)size, got = 0;
    unsigned char *bytes = xalloc(n);
    while (got < n) {
        size_t k = os_file_read(f, bytes + got, n - got);
        if (k == 0)
            break;
        got += k;
    }
    os_file_close(f);
    int ok = got == n && journal_decode(j, bytes, n);
    xfree(bytes);
    return ok;
}

void journal_free(Journal *j)
{
    for (size_t i = 0; i < j->count; i++)
        for (int k = 0; k < j->items[i].count; k++)
            xfree(j->items[i].field[k]);
    xfree(j->items);
    memset(j, 0, sizeof *j);
}
