#include "programs_entry.h"
#include "log.h"
#include "registry.h"
#include "text.h"

/* Opens (creating) the entry's key: the machine's when it can be written, else the user's;
 * NULL when neither can. */
static HKEY create_entry_key(const wchar_t *key_path, int *root)
{
    static const int roots[] = {ROOT_LOCAL_MACHINE, ROOT_CURRENT_USER};
    for (size_t i = 0; i < sizeof roots / sizeof roots[0]; i++) {
        HKEY key;
        *root = roots[i];
        if (RegCreateKeyExW(registry_root_key(*root), key_path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) ==
            ERROR_SUCCESS)
            return key;
    }
    return NULL;
}

static void set_number(HKEY key, const wchar_t *name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
}

void write_programs_entry(Installer *in, const wchar_t *product, const wchar_t *uninstaller, const wchar_t *log_path)
{
    const Script *s = in->script;
    wchar_t *key_name = w_dup(*product ? product : L"Setup");
    for (wchar_t *p = key_name; *p; p++)
        if (*p == L'\\')
            *p = L'-';
    wchar_t *key_path = w_cat3(PROGRAMS_LIST_KEY, L"\\", key_name);
    int root;
    HKEY key = create_entry_key(key_path, &root);
    if (key) {
        wchar_t *quoted = w_fmt(L"\"%ls\"", uninstaller);
        wchar_t *quiet = w_fmt(L"\"%ls\" /S", uninstaller);
        wchar_t *publisher = w_from_ansi(script_field(s, FLD_COMPANY));
        wchar_t *version = w_from_ansi(script_field(s, FLD_VERSION));
        wchar_t *web = vars_expand_a(&in->vars, script_field(s, FLD_WEB));
        wchar_t *support = vars_expand_a(&in->vars, script_field(s, FLD_SUPPORT));
        struct { const wchar_t *name, *value; } values[] = {
            {L"DisplayName", product}, {L"UninstallString", quoted}, {L"QuietUninstallString", quiet},
            {PROGRAMS_ENTRY_UNINSTALLER, uninstaller}, {L"Publisher", publisher}, {L"DisplayVersion", version},
            {L"InstallLocation", in->install_path}, {L"URLInfoAbout", web}, {L"HelpLink", support},
            {PROGRAMS_ENTRY_LOG, log_path},
        };
        for (size_t i = 0; i < sizeof values / sizeof values[0]; i++)
            if (*values[i].value)
                RegSetValueExW(key, values[i].name, 0, REG_SZ, (const BYTE *)values[i].value,
                               (DWORD)((wcslen(values[i].value) + 1) * sizeof(wchar_t)));
        set_number(key, L"NoModify", 1);
        set_number(key, L"NoRepair", 1);
        set_number(key, L"EstimatedSize", (DWORD)script_number(s, FLD_REQUIRED_KB));
        RegCloseKey(key);
        wchar_t *root_number = w_u64((unsigned long long)root);
        journal_add(&in->journal, J_PROGRAMS, 2, root_number, key_path);
        xfree(root_number);
        log_line(LOG_INFO, L"Installed-programs entry: %ls", key_name);
        xfree(quoted);
        xfree(quiet);
        xfree(publisher);
        xfree(version);
        xfree(web);
        xfree(support);
    } else {
        log_line(LOG_ERROR, L"The installed-programs entry could not be written.");
    }
    xfree(key_path);
    xfree(key_name);
}
