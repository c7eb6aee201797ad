/* Registry roots by their numbers in the script and the uninstall log, and values read as
 * text. */
#include "registry.h"
#include "text.h"

HKEY registry_root_key(int number)
{
    static const HKEY roots[ROOT_COUNT] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                                           HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    return number >= 0 && number < ROOT_COUNT ? roots[number] : NULL;
}

HKEY root_from_number(const wchar_t *number)
{
    char *a = ansi_from_w(number);
    HKEY k = registry_root_key(registry_root_number(a));
    xfree(a);
    return k;
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

wchar_t *registry_text_at(void *ctx, int root, const wchar_t *subkey, const wchar_t *name)
{
    return registry_read_text(registry_root_key(root), subkey, name);
}
