#include "options.h"
#include "text.h"

#include <shellapi.h>

static const wchar_t *value_of(const wchar_t *arg, const wchar_t *name)
{
    return w_starts_i(arg, name) ? arg + wcslen(name) : NULL;
}

void options_parse(Options *o, const wchar_t *command_line)
{
    ZeroMemory(o, sizeof *o);
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(command_line, &argc);
    if (!argv)
        return;
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
            o->parent = (HANDLE)(ULONG_PTR)_wtoi64(v);
        else if ((v = value_of(a, L"/REPORT=")))
            o->report = (HANDLE)(ULONG_PTR)_wtoi64(v);
    }
    LocalFree(argv);
}
