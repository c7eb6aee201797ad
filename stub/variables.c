#include "variables.h"
#include "text.h"

#include <shlobj.h>
#include <string.h>

static wchar_t *shell_folder(int csidl)
{
    wchar_t buf[MAX_PATH] = {0};
    if (SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK &&
        SHGetFolderPathW(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK)
        return w_dup(L"");
    path_strip_slash(buf);
    return w_dup(buf);
}

void vars_set(Variables *v, int number, const wchar_t *value)
{
    if (number < 1 || number > VAR_MAX)
        return;
    xfree(v->value[number]);
    v->value[number] = value ? w_dup(value) : NULL;
}

static void set_owned(Variables *v, int number, wchar_t *value)
{
    xfree(v->value[number]);
    v->value[number] = value;
}

void vars_init_builtin(Variables *v, const Script *s, const wchar_t *setup_folder)
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n;
    memset(v, 0, sizeof *v);
    set_owned(v, VAR_PROGRAMFILES, shell_folder(CSIDL_PROGRAM_FILES));
    GetWindowsDirectoryW(buf, MAX_PATH);
    path_strip_slash(buf);
    vars_set(v, VAR_WINDOWSDIR, buf);
    GetSystemDirectoryW(buf, MAX_PATH);
    path_strip_slash(buf);
    vars_set(v, VAR_SYSTEMDIR, buf);
    n = GetTempPathW(MAX_PATH, buf);
    if (n == 0 || n > MAX_PATH)
        buf[0] = 0;
    path_strip_slash(buf);
    vars_set(v, VAR_TEMPDIR, buf);
    set_owned(v, VAR_DESKTOP, shell_folder(CSIDL_DESKTOPDIRECTORY));
    wchar_t *appdata = shell_folder(CSIDL_APPDATA);
    set_owned(v, VAR_QUICKLAUNCH, path_join(appdata, L"Microsoft\\Internet Explorer\\Quick Launch"));
    set_owned(v, VAR_PROGRAMSDIR, shell_folder(CSIDL_PROGRAMS));
    set_owned(v, VAR_STARTMENU, shell_folder(CSIDL_STARTMENU));
    set_owned(v, VAR_MYDOCUMENTS, shell_folder(CSIDL_PERSONAL));
    set_owned(v, VAR_FAVORITES, shell_folder(CSIDL_FAVORITES));
    set_owned(v, VAR_SENDTO, shell_folder(CSIDL_SENDTO));
    set_owned(v, VAR_USERPROFILE, shell_folder(CSIDL_PROFILE));
    set_owned(v, VAR_STARTUP, shell_folder(CSIDL_STARTUP));
    set_owned(v, VAR_FONTDIR, shell_folder(CSIDL_FONTS));
    set_owned(v, VAR_COMMONFILES, shell_folder(CSIDL_PROGRAM_FILES_COMMON));
    GetWindowsDirectoryW(buf, MAX_PATH);
    buf[2] = 0; /* "C:" */
    vars_set(v, VAR_SYSTEMDRIVE, buf);
    vars_set(v, VAR_CURRENTDIR, setup_folder);
    vars_set(v, VAR_I, L"1");
    n = MAX_PATH;
    vars_set(v, VAR_USERNAME, GetUserNameW(buf, &n) ? buf : L"");
    n = MAX_PATH;
    vars_set(v, VAR_COMPUTERNAME, GetComputerNameW(buf, &n) ? buf : L"");
    set_owned(v, VAR_PRODUCTNAME, w_from_ansi(script_field(s, FLD_PRODUCT)));
    set_owned(v, VAR_PRODUCTVERSION, w_from_ansi(script_field(s, FLD_VERSION)));
    set_owned(v, VAR_COMPANYNAME, w_from_ansi(script_field(s, FLD_COMPANY)));
    set_owned(v, VAR_APPDATA, appdata);
    set_owned(v, VAR_COMMONAPPDATA, shell_folder(CSIDL_COMMON_APPDATA));
    set_owned(v, VAR_COMMONDESKTOP, shell_folder(CSIDL_COMMON_DESKTOPDIRECTORY));
    set_owned(v, VAR_COMMONDOCUMENTS, shell_folder(CSIDL_COMMON_DOCUMENTS));
    set_owned(v, VAR_COMMONFAVORITES, shell_folder(CSIDL_COMMON_FAVORITES));
    set_owned(v, VAR_COMMONPROGRAMSDIR, shell_folder(CSIDL_COMMON_PROGRAMS));
    set_owned(v, VAR_COMMONSTARTMENU, shell_folder(CSIDL_COMMON_STARTMENU));
    set_owned(v, VAR_COMMONSTARTUP, shell_folder(CSIDL_COMMON_STARTUP));
    set_owned(v, VAR_TEMPLATES, shell_folder(CSIDL_TEMPLATES));
    set_owned(v, VAR_COMMONTEMPLATES, shell_folder(CSIDL_COMMON_TEMPLATES));
    /* The native program folder of a 64-bit system; the ordinary one elsewhere. */
    n = GetEnvironmentVariableW(L"ProgramW6432", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        path_strip_slash(buf);
        vars_set(v, VAR_PROGRAMFILES64, buf);
    } else {
        vars_set(v, VAR_PROGRAMFILES64, v->value[VAR_PROGRAMFILES]);
    }
}

wchar_t *registry_read_text(HKEY root, const wchar_t *subkey, const wchar_t *name)
{
    HKEY key;
    if (!root || RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return NULL;
    DWORD type = 0, size = 0;
    wchar_t *result = NULL;
    if (RegQueryValueExW(key, name && *name ? name : NULL, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        BYTE *data = xalloc(size + 4);
        if (RegQueryValueExW(key, name && *name ? name : NULL, NULL, &type, data, &size) == ERROR_SUCCESS) {
            if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
                result = w_dupn((wchar_t *)data, size / sizeof(wchar_t));
                if (type == REG_EXPAND_SZ) {
                    DWORD need = ExpandEnvironmentStringsW(result, NULL, 0);
                    wchar_t *x = xalloc((need + 1) * sizeof(wchar_t));
                    if (ExpandEnvironmentStringsW(result, x, need + 1)) {
                        xfree(result);
                        result = x;
                    } else {
                        xfree(x);
                    }
                }
            } else if (type == REG_DWORD && size >= 4) {
                result = w_u64(*(DWORD *)data);
            } else if (type == REG_QWORD && size >= 8) {
                result = w_u64(*(unsigned long long *)data);
            } else {
                WBuf b = {0};
                for (DWORD i = 0; i < size; i++) {
                    wchar_t hex[3];
                    _snwprintf(hex, 3, L"%02X", data[i]);
                    wb_addn(&b, hex, 2);
                }
                result = wb_take(&b);
            }
        }
        xfree(data);
    }
    RegCloseKey(key);
    return result;
}

void vars_read_user(Variables *v, const Script *s)
{
    for (size_t i = 0; i < s->entries[SEC_B] && VAR_FIRST_USER + i <= VAR_MAX; i++) {
        HKEY root = registry_root(script_value(s, SEC_B, i, B_ROOT));
        wchar_t *subkey = vars_expand_a(v, script_value(s, SEC_B, i, B_SUBKEY));
        wchar_t *name = vars_expand_a(v, script_value(s, SEC_B, i, B_NAME));
        wchar_t *value = registry_read_text(root, subkey, name);
        if (!value)
            value = vars_expand_a(v, script_value(s, SEC_B, i, B_DEFAULT));
        set_owned(v, VAR_FIRST_USER + (int)i, value);
        xfree(subkey);
        xfree(name);
    }
}

static wchar_t *short_form(const wchar_t *path)
{
    DWORD n = GetShortPathNameW(path, NULL, 0);
    if (n == 0)
        return w_dup(path);
    wchar_t *s = xalloc((n + 1) * sizeof(wchar_t));
    if (!GetShortPathNameW(path, s, n + 1)) {
        xfree(s);
        return w_dup(path);
    }
    return s;
}

wchar_t *vars_expand(const Variables *v, const wchar_t *text)
{
    WBuf b = {0};
    const wchar_t *p = text ? text : L"";
    while (*p) {
        if (wcsncmp(p, VAR_CODE_PREFIX, 4) == 0 && p[4] >= L'0' && p[4] <= L'9' && p[5] >= L'0' && p[5] <= L'9') {
            int number = (p[4] - L'0') * 10 + (p[5] - L'0');
            int base = var_short_base(number);
            const wchar_t *value = base ? v->value[base] : v->value[number];
            if (value) {
                if (base) {
                    /* Computed now: the folder may have been created since. */
                    wchar_t *s = short_form(value);
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
