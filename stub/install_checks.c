#include "install_checks.h"
#include "actions.h"
#include "install_decisions.h"
#include "registry.h"
#include "text.h"

#include <string.h>

/* The running system's refused-systems bit. */
static int refused_bit(void)
{
    OSVERSIONINFOEXW v = {sizeof v};
    if (!GetVersionExW((OSVERSIONINFOW *)&v))
        return 0;
    SystemVersion sv = {v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS, v.dwMajorVersion, v.dwMinorVersion,
                        v.wProductType == VER_NT_WORKSTATION};
    return system_refusal_bit(sv);
}

static int net_installed(const char *version, int or_later)
{
    static const struct { const char *version; const wchar_t *key; const wchar_t *value; } known[] = {
        {"1.0", L"SOFTWARE\\Microsoft\\.NETFramework\\Policy\\v1.0", L"3705"},
        {"1.1", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v1.1.4322", L"Install"},
        {"2.0", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727", L"Install"},
        {"3.0", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.0", L"Install"},
        {"3.5", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5", L"Install"},
        {"4.0", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full", L"Install"},
        {"4.0", L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client", L"Install"},
    };
    int from = -1;
    for (size_t i = 0; i < sizeof known / sizeof known[0]; i++)
        if (strcmp(known[i].version, version) == 0 && from < 0)
            from = (int)i;
    if (from < 0)
        return 1; /* no requirement */
    for (size_t i = (size_t)from; i < sizeof known / sizeof known[0]; i++) {
        if (!or_later && strcmp(known[i].version, version) != 0)
            break;
        wchar_t *v = registry_read_text(HKEY_LOCAL_MACHINE, known[i].key, known[i].value);
        int found = v != NULL && wcscmp(v, L"0") != 0;
        xfree(v);
        if (found)
            return 1;
    }
    return 0;
}

/* The system, the rights and the .NET Framework the setup requires. */
CheckResult check_requirements(const Installer *in)
{
    const Script *s = in->script;
    if (refused_bit() & script_number(s, FLD_REFUSED_SYSTEMS))
        return CHECK_SYSTEM_REFUSED;
    if (script_flag(s, FLD_ADMIN) && !running_as_admin())
        return CHECK_ADMIN_REQUIRED;
    const char *net = script_field(s, FLD_NET_VERSION);
    if (strcmp(net, SCRIPT_NONE) != 0 && *net && !net_installed(net, script_flag(s, FLD_NET_OR_LATER)))
        return CHECK_NET_MISSING;
    return CHECK_PASSED;
}

/* The application the setup closes first (fields 103-105): its text, NULL when none is named
 * or it is not running. */
wchar_t *running_application(const Installer *in)
{
    if (!script_flag(in->script, FLD_CLOSE_APP))
        return NULL;
    wchar_t *app = vars_expand_a(&in->vars, script_field(in->script, FLD_APP_TEXT));
    if (application_running((int)script_number(in->script, FLD_APP_MATCH), app))
        return app;
    xfree(app);
    return NULL;
}
