#include "options.h"
#include "text.h"

#include <string.h>

static const wchar_t *value_of(const wchar_t *arg, const wchar_t *name)
{
    return w_starts_i(arg, name) ? arg + wcslen(name) : NULL;
}

static unsigned long long handle_value(const wchar_t *v)
{
    long long n = wcstoll(v, NULL, 10);
    return (unsigned long long)n;
}

void options_parse_args(Options *o, int argc, wchar_t **argv)
{
    memset(o, 0, sizeof *o);
    for (int i = 1; i < argc; i++) {
        const wchar_t *a = argv[i], *v;
        if (w_ieq(a, L"/S") || w_ieq(a, L"-S") || w_ieq(a, L"/silent"))
            o->silent = 1;
        else if ((v = value_of(a, L"/D="))) {
            WBuf b = {0};
            wb_add(&b, v);
            for (int k = i + 1; k < argc; k++) {
                wb_addc(&b, L' ');
                wb_add(&b, argv[k]);
            }
            o->folder = wb_take(&b);
            path_strip_slash(o->folder);
            break;
        } else if ((v = value_of(a, L"/LOG=")))
            o->log = w_dup(v);
        else if ((v = value_of(a, L"/P=")))
            o->password = w_dup(v);
        else if ((v = value_of(a, L"/L=")))
            o->language = w_dup(v);
        else if ((v = value_of(a, L"/ORIGIN=")))
            o->origin = w_dup(v);
        else if ((v = value_of(a, L"/PARENT=")))
            o->parent = handle_value(v);
        else if ((v = value_of(a, L"/REPORT=")))
            o->report = handle_value(v);
    }
}

void options_free(Options *o)
{
    xfree(o->folder);
    xfree(o->log);
    xfree(o->password);
    xfree(o->language);
    xfree(o->origin);
    memset(o, 0, sizeof *o);
}
