#define COBJMACROS
#include "actions.h"
#include "registry.h"
#include "setup_format.h"
#include "text.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <string.h>

static int is_folder(const wchar_t *path)
{
    DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

int make_folders(const wchar_t *folder, Journal *journal)
{
    if (!folder || !*folder || is_folder(folder))
        return 1;
    wchar_t *parent = path_folder(folder);
    int ok = 1;
    if (*parent && wcscmp(parent, folder) != 0 && !(wcslen(parent) == 2 && parent[1] == L':'))
        ok = make_folders(parent, journal);
    xfree(parent);
    if (!ok)
        return 0;
    if (CreateDirectoryW(folder, NULL)) {
        if (journal)
            journal_add(journal, J_FOLDER, 1, folder);
        return 1;
    }
    return is_folder(folder);
}

/* ---- registry ---- */

static int key_exists(HKEY root, const wchar_t *subkey)
{
    HKEY k;
    if (RegOpenKeyExW(root, subkey, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return 0;
    RegCloseKey(k);
    return 1;
}

/* Records the keys of subkey's path that do not exist yet, outermost first. */
static void note_new_keys(HKEY root, const wchar_t *root_number, const wchar_t *subkey, wchar_t tag,
                          Journal *journal)
{
    wchar_t *path = w_dup(subkey);
    for (wchar_t *p = path;; p++) {
        if (*p == L'\\' || *p == 0) {
            wchar_t c = *p;
            *p = 0;
            if (*path && !key_exists(root, path))
                journal_add(journal, tag, 2, root_number, path);
            *p = c;
            if (!c)
                break;
        }
    }
    xfree(path);
}

static int hex_value(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

/* Bytes of a text of hexadecimal digit pairs; NULL for an odd length or another character. */
static BYTE *hex_to_bytes(const wchar_t *hex, DWORD *size)
{
    size_t n = wcslen(hex);
    if (n % 2)
        return NULL;
    BYTE *bytes = xalloc(n / 2 + 1);
    for (size_t i = 0; i < n; i += 2) {
        int hi = hex_value(hex[i]), lo = hex_value(hex[i + 1]);
        if (hi < 0 || lo < 0) {
            xfree(bytes);
            return NULL;
        }
        bytes[i / 2] = (BYTE)(hi * 16 + lo);
    }
    *size = (DWORD)(n / 2);
    return bytes;
}

/* Records the value's present type and data (J_REG_OLD) when it exists. */
static void note_old_value(HKEY root, const wchar_t *root_number, const wchar_t *subkey, const wchar_t *name,
                           Journal *journal)
{
    HKEY key;
    if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    const wchar_t *value_name = name && *name ? name : NULL;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, value_name, NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        BYTE *bytes = xalloc(size + 1);
        if (RegQueryValueExW(key, value_name, NULL, &type, bytes, &size) == ERROR_SUCCESS) {
            static const wchar_t digits[] = L"0123456789abcdef";
            wchar_t *hex = xalloc((2 * (size_t)size + 1) * sizeof(wchar_t));
            for (DWORD i = 0; i < size; i++) {
                hex[2 * i] = digits[bytes[i] >> 4];
                hex[2 * i + 1] = digits[bytes[i] & 15];
            }
            hex[2 * (size_t)size] = 0;
            wchar_t type_text[16];
            swprintf(type_text, 16, L"%u", (unsigned)type);
            journal_add(journal, J_REG_OLD, 5, root_number, subkey, name ? name : L"", type_text, hex);
            xfree(hex);
        }
        xfree(bytes);
    }
    RegCloseKey(key);
}

int registry_restore(const wchar_t *root_number, const wchar_t *subkey, const wchar_t *name,
                     const wchar_t *type_number, const wchar_t *hex_data)
{
    HKEY root = root_from_number(root_number), key;
    long long type = 0;
    DWORD size = 0;
    if (!root || !wparse_i64(type_number, &type))
        return 0;
    BYTE *bytes = hex_to_bytes(hex_data, &size);
    if (!bytes)
        return 0;
    int ok = RegCreateKeyExW(root, subkey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetValueExW(key, name && *name ? name : NULL, 0, (DWORD)type, bytes, size) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    xfree(bytes);
    return ok;
}

WriteResult registry_write(const wchar_t *root_number, const wchar_t *subkey, const wchar_t *name, int type,
                           const wchar_t *data, int overwrite, int uninstall, Journal *journal)
{
    HKEY root = root_from_number(root_number);
    if (!root)
        return WRITE_FAILED;
    const wchar_t *value_name = name && *name ? name : NULL;
    HKEY key;
    if (!overwrite && RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        LONG r = RegQueryValueExW(key, value_name, NULL, NULL, NULL, NULL);
        RegCloseKey(key);
        if (r == ERROR_SUCCESS)
            return WRITE_KEPT;
    }
    BYTE *bytes = NULL;
    DWORD size = 0, reg_type;
    DWORD dword;
    switch (type) {
    case REGTYPE_SZ:
    case REGTYPE_EXPAND_SZ:
        reg_type = type == REGTYPE_SZ ? REG_SZ : REG_EXPAND_SZ;
        bytes = (BYTE *)data;
        size = (DWORD)((wcslen(data) + 1) * sizeof(wchar_t));
        break;
    case REGTYPE_DWORD: {
        long long v = 0;
        const wchar_t *d = data;
        if ((d[0] == L'0' && (d[1] == L'x' || d[1] == L'X'))) {
            unsigned long long h = 0;
            for (d += 2; *d; d++) {
                if (hex_value(*d) < 0)
                    return WRITE_FAILED;
                h = h * 16 + (unsigned)hex_value(*d);
            }
            v = (long long)h;
        } else if (*d && !wparse_i64(d, &v)) {
            return WRITE_FAILED;
        }
        if (v < -2147483648LL || v > 0xffffffffLL)
            return WRITE_FAILED;
        dword = (DWORD)v;
        reg_type = REG_DWORD;
        bytes = (BYTE *)&dword;
        size = 4;
        break;
    }
    case REGTYPE_BINARY: {
        bytes = hex_to_bytes(data, &size);
        if (!bytes)
            return WRITE_FAILED;
        reg_type = REG_BINARY;
        break;
    }
    default:
        return WRITE_FAILED;
    }
    if (journal) {
        note_old_value(root, root_number, subkey, name, journal);
        note_new_keys(root, root_number, subkey, uninstall ? J_REG_KEY : J_ROLLBACK_REG_KEY, journal);
    }
    int ok = RegCreateKeyExW(root, subkey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetValueExW(key, value_name, 0, reg_type, bytes, size) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    if (type == REGTYPE_BINARY)
        xfree(bytes);
    if (ok && journal)
        journal_add(journal, uninstall ? J_REG_VALUE : J_ROLLBACK_REG_VALUE, 3, root_number, subkey,
                    name ? name : L"");
    return ok ? WRITE_DONE : WRITE_FAILED;
}

int registry_delete_value(HKEY root, const wchar_t *subkey, const wchar_t *name)
{
    HKEY key;
    LONG r = RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE, &key);
    if (r == ERROR_FILE_NOT_FOUND)
        return 1;
    if (r != ERROR_SUCCESS)
        return 0;
    r = RegDeleteValueW(key, name && *name ? name : NULL);
    RegCloseKey(key);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

int registry_delete_key_if_empty(HKEY root, const wchar_t *subkey)
{
    HKEY key;
    if (RegOpenKeyExW(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 1;
    DWORD subkeys = 0, values = 0;
    LONG r = RegQueryInfoKeyW(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS)
        return 0;
    if (subkeys || values)
        return 1; /* still used by others: kept */
    return RegDeleteKeyW(root, subkey) == ERROR_SUCCESS;
}

int registry_delete_tree(HKEY root, const wchar_t *subkey)
{
    if (!subkey || !*subkey)
        return 0; /* never a whole root */
    LONG r = SHDeleteKeyW(root, subkey);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

/* ---- INI files ---- */

/* The entry's present value, or NULL when it has none. */
static wchar_t *ini_read(const wchar_t *file, const wchar_t *section, const wchar_t *key)
{
    static const wchar_t absent[] = L"\x01\x02absent\x02\x01";
    for (DWORD size = 256;; size *= 4) {
        wchar_t *buf = xalloc(size * sizeof(wchar_t));
        DWORD n = GetPrivateProfileStringW(section, key, absent, buf, size, file);
        if (n + 1 < size || size >= (1u << 22)) {
            if (wcscmp(buf, absent) == 0) {
                xfree(buf);
                return NULL;
            }
            return buf;
        }
        xfree(buf);
    }
}

WriteResult ini_write(const wchar_t *file, const wchar_t *section, const wchar_t *key, const wchar_t *value,
                      int overwrite, int uninstall, Journal *journal)
{
    wchar_t *old = ini_read(file, section, key);
    if (old && !overwrite) {
        xfree(old);
        return WRITE_KEPT;
    }
    wchar_t *folder = path_folder(file);
    make_folders(folder, journal);
    xfree(folder);
    int existed = GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES;
    int ok = WritePrivateProfileStringW(section, key, value, file);
    WritePrivateProfileStringW(NULL, NULL, NULL, file); /* flush the cache */
    if (ok && journal) {
        if (!existed)
            journal_add(journal, uninstall ? J_FILE : J_ROLLBACK_FILE, 1, file);
        if (old)
            journal_add(journal, J_INI_OLD, 4, file, section, key, old);
        journal_add(journal, uninstall ? J_INI : J_ROLLBACK_INI, 3, file, section, key);
    }
    xfree(old);
    return ok ? WRITE_DONE : WRITE_FAILED;
}

int ini_delete(const wchar_t *file, const wchar_t *section, const wchar_t *key)
{
    if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES)
        return 1;
    int ok = WritePrivateProfileStringW(section, key, NULL, file);
    /* A section left without keys goes too. */
    wchar_t buf[4] = {0};
    if (GetPrivateProfileSectionW(section, buf, 4, file) == 0)
        WritePrivateProfileStringW(section, NULL, NULL, file);
    WritePrivateProfileStringW(NULL, NULL, NULL, file);
    return ok;
}

/* ---- shortcuts ---- */

int shortcut_create(const wchar_t *lnk, const wchar_t *target, const wchar_t *params,
                    const wchar_t *comment, const wchar_t *icon_file, int icon_index,
                    const wchar_t *work_folder)
{
    IShellLinkW *link = NULL;
    IPersistFile *file = NULL;
    HRESULT hr = CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkW, (void **)&link);
    if (FAILED(hr))
        return 0;
    IShellLinkW_SetPath(link, target);
    if (params && *params)
        IShellLinkW_SetArguments(link, params);
    if (comment && *comment)
        IShellLinkW_SetDescription(link, comment);
    if (icon_file && *icon_file)
        IShellLinkW_SetIconLocation(link, icon_file, icon_index);
    wchar_t *folder = work_folder && *work_folder ? w_dup(work_folder) : path_folder(target);
    IShellLinkW_SetWorkingDirectory(link, folder);
    xfree(folder);
    hr = IShellLinkW_QueryInterface(link, &IID_IPersistFile, (void **)&file);
    if (SUCCEEDED(hr)) {
        hr = IPersistFile_Save(file, lnk, TRUE);
        IPersistFile_Release(file);
    }
    IShellLinkW_Release(link);
    return SUCCEEDED(hr) && GetFileAttributesW(lnk) != INVALID_FILE_ATTRIBUTES;
}

/* ---- fonts ---- */

#define FONTS_KEY L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"

static void broadcast_font_change(void)
{
    DWORD_PTR result;
    SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
}

wchar_t *font_register(const wchar_t *name, const wchar_t *file, const wchar_t *font_folder)
{
    if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES || AddFontResourceW(file) == 0)
        return NULL;
    const wchar_t *suffix = w_ends_i(file, L".ttf") || w_ends_i(file, L".ttc") ? L" (TrueType)"
                            : w_ends_i(file, L".otf")                           ? L" (OpenType)"
                                                                               : L"";
    wchar_t *value_name = w_cat(name, suffix);
    /* Fonts in the fonts folder are registered by file name, others by full path. */
    wchar_t *folder = path_folder(file);
    const wchar_t *data = w_ieq(folder, font_folder) ? path_name(file) : file;
    HKEY key;
    int ok = 0;
    HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    for (int i = 0; i < 2 && !ok; i++) {
        if (RegCreateKeyExW(roots[i], FONTS_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS) {
            ok = RegSetValueExW(key, value_name, 0, REG_SZ, (const BYTE *)data,
                                (DWORD)((wcslen(data) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    xfree(folder);
    broadcast_font_change();
    if (!ok) {
        xfree(value_name);
        return NULL;
    }
    return value_name;
}

int font_unregister(const wchar_t *value_name, const wchar_t *file)
{
    RemoveFontResourceW(file);
    registry_delete_value(HKEY_LOCAL_MACHINE, FONTS_KEY, value_name);
    registry_delete_value(HKEY_CURRENT_USER, FONTS_KEY, value_name);
    broadcast_font_change();
    return 1;
}

/* ---- ActiveX ---- */

int activex_register(const wchar_t *file, int unregister)
{
    if (w_ends_i(file, L".exe")) {
        DWORD code = 1;
        return command_run(0, file, unregister ? L"/unregserver" : L"/regserver", SW_HIDE, 1, &code) &&
               code == 0;
    }
    HMODULE m = LoadLibraryExW(file, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m)
        return 0;
    typedef HRESULT(WINAPI * RegisterFn)(void);
    RegisterFn fn = (RegisterFn)(void *)GetProcAddress(m, unregister ? "DllUnregisterServer" : "DllRegisterServer");
    HRESULT hr = fn ? fn() : E_FAIL;
    FreeLibrary(m);
    return SUCCEEDED(hr);
}

/* ---- commands ---- */

int command_run(int type, const wchar_t *command, const wchar_t *params, int show, int wait,
                DWORD *exit_code)
{
    HANDLE process = NULL;
    wchar_t *folder = path_folder(command);
    if (type == COMMAND_SHELL) {
        SHELLEXECUTEINFOW sei = {sizeof sei};
        sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        sei.lpVerb = NULL;
        sei.lpFile = command;
        sei.lpParameters = params && *params ? params : NULL;
        sei.lpDirectory = *folder ? folder : NULL;
        sei.nShow = show;
        if (!ShellExecuteExW(&sei)) {
            xfree(folder);
            return 0;
        }
        process = sei.hProcess;
    } else {
        wchar_t *line = w_fmt(L"\"%ls\"%ls%ls", command, params && *params ? L" " : L"", params ? params : L"");
        STARTUPINFOW si = {sizeof si};
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = (WORD)show;
        PROCESS_INFORMATION pi;
        BOOL ok = CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, *folder ? folder : NULL, &si, &pi);
        xfree(line);
        if (!ok) {
            xfree(folder);
            return 0;
        }
        CloseHandle(pi.hThread);
        process = pi.hProcess;
    }
    xfree(folder);
    if (exit_code)
        *exit_code = 0;
    if (process) {
        if (wait) {
            WaitForSingleObject(process, INFINITE);
            if (exit_code)
                GetExitCodeProcess(process, exit_code);
        }
        CloseHandle(process);
    }
    return 1;
}

/* ---- running applications ---- */

typedef struct {
    int match;
    const wchar_t *text;
    DWORD pid;      /* with APP_MATCH_FILE_NAME: windows of this process */
    int found;
    int close;
} WindowSearch;

static BOOL CALLBACK window_visit(HWND w, LPARAM lp)
{
    WindowSearch *s = (WindowSearch *)lp;
    if (!IsWindowVisible(w) && s->match != APP_MATCH_FILE_NAME)
        return TRUE;
    int hit = 0;
    if (s->match == APP_MATCH_FILE_NAME) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        hit = pid == s->pid && GetWindow(w, GW_OWNER) == NULL;
    } else {
        wchar_t title[512];
        if (GetWindowTextW(w, title, 512) <= 0)
            return TRUE;
        hit = s->match == APP_MATCH_TITLE ? wcscmp(title, s->text) == 0 : StrStrIW(title, s->text) != NULL;
    }
    if (hit) {
        s->found++;
        if (s->close)
            PostMessageW(w, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

static DWORD find_process(const wchar_t *file)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W e = {sizeof e};
    DWORD pid = 0, self = GetCurrentProcessId();
    const wchar_t *name = path_name(file);
    for (BOOL ok = Process32FirstW(snap, &e); ok && !pid; ok = Process32NextW(snap, &e))
        if (e.th32ProcessID != self && w_ieq(path_name(e.szExeFile), name))
            pid = e.th32ProcessID;
    CloseHandle(snap);
    return pid;
}

int application_running(int match, const wchar_t *text)
{
    if (!text || !*text)
        return 0;
    if (match == APP_MATCH_FILE_NAME)
        return find_process(text) != 0;
    WindowSearch s = {match, text, 0, 0, 0};
    EnumWindows(window_visit, (LPARAM)&s);
    return s.found > 0;
}

int application_close(int match, const wchar_t *text, DWORD timeout_ms)
{
    DWORD start = GetTickCount();
    do {
        if (!application_running(match, text))
            return 1;
        WindowSearch s = {match, text, match == APP_MATCH_FILE_NAME ? find_process(text) : 0, 0, 1};
        EnumWindows(window_visit, (LPARAM)&s);
        Sleep(250);
    } while (GetTickCount() - start < timeout_ms);
    return !application_running(match, text);
}

/* ---- deleting ---- */

int file_delete(const wchar_t *path, int *at_restart)
{
    DWORD a = GetFileAttributesW(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return 0;
    if (a & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path, a & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(path))
        return 1;
    if (MoveFileExW(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        if (at_restart)
            *at_restart = 1;
        return 1;
    }
    return 0;
}

int folder_delete_tree(const wchar_t *path)
{
    if (!path || wcslen(path) <= 3)
        return 0; /* never a drive's root */
    wchar_t *pattern = path_join(path, L"*");
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(pattern, &fd);
    xfree(pattern);
    int ok = 1;
    if (f != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L".."))
                continue;
            wchar_t *child = path_join(path, fd.cFileName);
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ok = folder_delete_tree(child) && ok;
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ok = RemoveDirectoryW(child) && ok;
            else
                ok = file_delete(child, NULL) && ok;
            xfree(child);
        } while (FindNextFileW(f, &fd));
        FindClose(f);
    }
    if (!RemoveDirectoryW(path) && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        ok = 0;
    return ok;
}

int running_as_admin(void)
{
    return IsUserAnAdmin();
}
