#include "variables.h"
#include "text.h"

#include <string.h>

void vars_set(Variables *v, int number, const wchar_t *value)
{
    vars_take(v, number, value ? w_dup(value) : NULL);
}

void vars_take(Variables *v, int number, wchar_t *value)
{
    if (number < 1 || number > VAR_MAX) {
        xfree(value);
        return;
    }
    xfree(v->value[number]);
    v->value[number] = value;
}

void vars_set_product(Variables *v, const Script *s)
{
    vars_take(v, VAR_PRODUCTNAME, w_from_ansi(script_field(s, FLD_PRODUCT)));
    vars_take(v, VAR_PRODUCTVERSION, w_from_ansi(script_field(s, FLD_VERSION)));
    vars_take(v, VAR_COMPANYNAME, w_from_ansi(script_field(s, FLD_COMPANY)));
}

void vars_set_language(Variables *v, const char *caption)
{
    wchar_t *language = w_from_ansi(caption);
    wchar_t *paren = wcsstr(language, L" (");
    if (paren)
        *paren = 0;
    vars_take(v, VAR_LANGUAGE, language);
}

void vars_read_user(Variables *v, const Script *s, RegistryTextFn read, void *ctx)
{
    for (size_t i = 0; i < s->entries[SEC_B] && VAR_FIRST_USER + i <= VAR_MAX; i++) {
        int root = registry_root_number(script_value(s, SEC_B, i, B_ROOT));
        wchar_t *subkey = vars_expand_a(v, script_value(s, SEC_B, i, B_SUBKEY));
        wchar_t *name = vars_expand_a(v, script_value(s, SEC_B, i, B_NAME));
        wchar_t *value = read(ctx, root, subkey, name);
        if (!value)
            value = vars_expand_a(v, script_value(s, SEC_B, i, B_DEFAULT));
        vars_take(v, VAR_FIRST_USER + (int)i, value);
        xfree(subkey);
        xfree(name);
    }
}

void vars_set_install_path(Variables *v, const wchar_t *path)
{
    vars_set(v, VAR_INSTALLPATH, path);
    for (int n = VAR_FIRST_USER; n <= VAR_MAX; n++)
        if (v->value[n])
            vars_take(v, n, vars_expand(v, v->value[n]));
}

static int code_number(const wchar_t *p)
{
    if (wcsncmp(p, VAR_CODE_PREFIX, VAR_CODE_PREFIX_LEN) != 0)
        return -1;
    const wchar_t *d = p + VAR_CODE_PREFIX_LEN;
    if (d[0] < L'0' || d[0] > L'9' || d[1] < L'0' || d[1] > L'9')
        return -1;
    return (d[0] - L'0') * 10 + (d[1] - L'0');
}

wchar_t *vars_expand(const Variables *v, const wchar_t *text)
{
    WBuf b = {0};
    const wchar_t *p = text ? text : L"";
    while (*p) {
        int number = code_number(p);
        if (number >= 0) {
            int base = var_short_base(number);
            const wchar_t *value = base ? v->value[base] : v->value[number];
            if (value) {
                if (base) {
                    /* Computed now: the folder may have been created since. */
                    wchar_t *s = os_short_path(value);
                    wb_add(&b, s);
                    xfree(s);
                } else {
                    wb_add(&b, value);
                }
                p += VAR_CODE_LEN;
                continue;
            }
        }
        wb_addc(&b, *p++);
    }
    return wb_take(&b);
}

wchar_t *vars_expand_a(const Variables *v, const char *ansi)
{
    wchar_t *w = w_from_ansi(ansi);
    wchar_t *r = vars_expand(v, w);
    xfree(w);
    return r;
}

void vars_free(Variables *v)
{
    for (int i = 0; i <= VAR_MAX; i++)
        xfree(v->value[i]);
    memset(v, 0, sizeof *v);
}
