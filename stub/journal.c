#include "journal.h"
#include "text.h"

#include <stdarg.h>
#include <string.h>

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

int journal_save(const Journal *j, const wchar_t *path)
{
    WBuf b = {0};
    wb_addc(&b, 0xFEFF);
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
    /* Written beside and then moved into place, so a reader never sees half a log. */
    wchar_t *tmp = w_cat(path, L".new");
    HANDLE h = CreateFileW(tmp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    int ok = h != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD put, size = (DWORD)(b.len * sizeof(wchar_t));
        ok = WriteFile(h, b.p, size, &put, NULL) && put == size;
        ok = CloseHandle(h) && ok;
        ok = ok && MoveFileExW(tmp, path, MOVEFILE_REPLACE_EXISTING);
        if (!ok)
            DeleteFileW(tmp);
    }
    xfree(tmp);
    wb_free(&b);
    return ok;
}

int journal_load(Journal *j, const wchar_t *path)
{
    memset(j, 0, sizeof *j);
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart > 64 * 1024 * 1024 || size.QuadPart < 2) {
        CloseHandle(h);
        return 0;
    }
    DWORD n = (DWORD)size.QuadPart, got = 0;
    wchar_t *text = xalloc(n + sizeof(wchar_t));
    int ok = ReadFile(h, text, n, &got, NULL) && got == n;
    CloseHandle(h);
    size_t len = n / sizeof(wchar_t);
    size_t magic = wcslen(JOURNAL_MAGIC);
    if (!ok || len < 1 + magic || text[0] != 0xFEFF || wcsncmp(text + 1, JOURNAL_MAGIC, magic) != 0) {
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

void journal_free(Journal *j)
{
    for (size_t i = 0; i < j->count; i++)
        for (int k = 0; k < j->items[i].count; k++)
            xfree(j->items[i].field[k]);
    xfree(j->items);
    memset(j, 0, sizeof *j);
}
