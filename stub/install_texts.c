#include "install_texts.h"
#include "text.h"

#include <string.h>

/* The primary language of a language identifier (its low ten bits) */
#define PRIMARY_LANGUAGE(id) ((id) & 0x3ffu)

#define INSTALL_TEXT_ROW(n, name, text) [n] = L"" text,
static const wchar_t *const defaults[INSTALL_TEXT_COUNT + 1] = {INSTALL_TEXTS(INSTALL_TEXT_ROW)};

const wchar_t *install_text_default(int n)
{
    return n >= 1 && n <= INSTALL_TEXT_COUNT && defaults[n] ? defaults[n] : L"";
}

static wchar_t *replace_all(const wchar_t *text, const wchar_t *what, const wchar_t *with)
{
    WBuf b = {0};
    size_t n = wcslen(what);
    for (const wchar_t *p = text; *p;) {
        if (wcsncmp(p, what, n) == 0) {
            wb_add(&b, with);
            p += n;
        } else {
            wb_addc(&b, *p++);
        }
    }
    return wb_take(&b);
}

wchar_t *install_text_named(int n, const wchar_t *product)
{
    return replace_all(install_text_default(n), L"#appname#", product);
}

unsigned install_language_code_page(const Script *s, size_t language)
{
    long long id;
    if (s && language < s->entries[SEC_N] && parse_i64(script_value(s, SEC_N, language, N_ID), &id) && id > 0)
        return os_language_code_page((unsigned)id);
    return CODE_PAGE_ANSI;
}

static wchar_t *language_value(const Script *s, size_t language, const char *value)
{
    return os_widen(install_language_code_page(s, language), value, strlen(value));
}

wchar_t *install_language_caption(const Script *s, size_t language)
{
    return language_value(s, language, language < s->entries[SEC_N] ? script_value(s, SEC_N, language, N_CAPTION) : "");
}

wchar_t *install_text(const Script *s, size_t language, int n)
{
    const char *t = s && n >= 1 && (size_t)n <= s->width[SEC_O] ? script_value(s, SEC_O, language, n - 1) : "";
    if (*t)
        return language_value(s, language, t);
    /* The authoring program fills these in the texts of the languages; the English
     * defaults get the same values here. */
    wchar_t *product = s ? w_from_ansi(script_field(s, FLD_PRODUCT)) : w_dup(L"");
    wchar_t *size = w_size_text(s ? (unsigned long long)script_number(s, FLD_TOTAL_SOURCE_SIZE) : 0);
    wchar_t *named = install_text_named(n, product);
    wchar_t *r = replace_all(named, L"#setupsize#", size);
    xfree(named);
    xfree(size);
    xfree(product);
    return r;
}

wchar_t *install_text_with(const Script *s, size_t language, int n, const wchar_t *file, int disk)
{
    wchar_t *t = install_text(s, language, n);
    wchar_t *a = replace_all(t, L"#file#", file ? file : L"");
    wchar_t *number = w_fmt(L"%d", disk);
    wchar_t *b = replace_all(a, L"#disk#", number);
    xfree(number);
    xfree(t);
    xfree(a);
    return b;
}

size_t install_language_choose(const Script *s, const wchar_t *wanted, unsigned user_language)
{
    for (size_t i = 0; i < s->entries[SEC_N]; i++) {
        long long id;
        const char *v = script_value(s, SEC_N, i, N_ID);
        if (wanted) {
            wchar_t *w = w_from_ansi(v);
            int hit = w_ieq(w, wanted);
            xfree(w);
            if (hit)
                return i;
        } else if (parse_i64(v, &id) && (unsigned)(id & 0xffff) == user_language) {
            return i;
        }
    }
    if (!wanted)
        for (size_t i = 0; i < s->entries[SEC_N]; i++) {
            long long id;
            if (parse_i64(script_value(s, SEC_N, i, N_ID), &id) &&
                PRIMARY_LANGUAGE((unsigned)id) == PRIMARY_LANGUAGE(user_language))
                return i;
        }
    return 0;
}
