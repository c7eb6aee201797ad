/* What undoing one record of the uninstall log means on the system. */
#include "undo_system.h"
#include "actions.h"
#include "log.h"
#include "setup_format.h"
#include "text.h"

#include <shlobj.h>

static const wchar_t *f(const JournalRecord *r, int i)
{
    return i < r->count ? r->field[i] : L"";
}

static void fail(UndoRun *run, const wchar_t *what, const wchar_t *path)
{
    run->failures++;
    log_line(LOG_ERROR, L"%ls could not be removed: %ls", what, path);
}

int folder_protected(const wchar_t *path)
{
    if (!path || wcslen(path) <= 3 || !path_is_absolute(path))
        return 1;
    static const int folders[] = {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON,
                                  CSIDL_PROFILE, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS,
                                  CSIDL_COMMON_PROGRAMS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_APPDATA,
                                  CSIDL_COMMON_APPDATA, CSIDL_FONTS, CSIDL_STARTUP, CSIDL_COMMON_DESKTOPDIRECTORY};
    wchar_t *p = w_dup(path);
    path_strip_slash(p);
    int hit = 0;
    for (size_t i = 0; i < sizeof folders / sizeof folders[0] && !hit; i++) {
        wchar_t buf[MAX_PATH];
        if (SHGetFolderPathW(NULL, folders[i], NULL, SHGFP_TYPE_CURRENT, buf) == S_OK) {
            path_strip_slash(buf);
            hit = w_ieq(buf, p);
        }
    }
    xfree(p);
    return hit;
}

static void run_command(const JournalRecord *r)
{
    long long type = COMMAND_PROGRAM, show = 1;
    wparse_i64(f(r, CMD_TYPE), &type);
    wparse_i64(f(r, CMD_SHOW), &show);
    DWORD code = 0;
    const wchar_t *command = f(r, CMD_COMMAND), *params = f(r, CMD_PARAMS);
    if (command_run((int)type, command, params, (int)show, wcscmp(f(r, CMD_WAIT), L"" SCRIPT_YES) == 0, &code))
        log_line(LOG_INFO, L"Command run: %ls %ls (exit code %u)", command, params, (unsigned)code);
    else
        log_line(LOG_WARN, L"Command could not be started: %ls", command);
}

/* An uninstaller deletion: a file, an empty folder, or a folder with its files. */
static void delete_path(UndoRun *run, const JournalRecord *r)
{
    const wchar_t *path = f(r, 1);
    long long kind;
    if (!wparse_i64(f(r, 0), &kind) || (kind != DELETE_FILE && kind != DELETE_FOLDER))
        kind = DELETE_FOLDER_TREE;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return;
    if (kind == DELETE_FILE) {
        if (!file_delete(path, &run->at_restart))
            fail(run, L"File", path);
    } else if (folder_protected(path)) {
        log_line(LOG_WARN, L"Folder left in place (a system folder): %ls", path);
    } else if (kind == DELETE_FOLDER) {
        if (!RemoveDirectoryW(path))
            log_line(LOG_WARN, L"Folder not empty, left in place: %ls", path);
    } else if (!folder_delete_tree(path)) {
        fail(run, L"Folder", path);
    }
}

void undo_on_system(UndoRun *run, const JournalRecord *r)
{
    HKEY root;
    switch (r->tag) {
    case J_COMMAND:
        run_command(r);
        break;
    case J_ACTIVEX:
        if (!activex_register(f(r, 0), 1))
            log_line(LOG_WARN, L"Component could not be unregistered: %ls", f(r, 0));
        break;
    case J_FONT:
        font_unregister(f(r, 0), f(r, 1));
        break;
    case J_SHORTCUT:
        if (!file_delete(f(r, 0), &run->at_restart))
            fail(run, L"Shortcut", f(r, 0));
        break;
    case J_INI:
    case J_ROLLBACK_INI:
        if (!ini_delete(f(r, 0), f(r, 1), f(r, 2)))
            fail(run, L"INI entry", f(r, 2));
        break;
    case J_INI_OLD:
        WritePrivateProfileStringW(f(r, 1), f(r, 2), f(r, 3), f(r, 0));
        WritePrivateProfileStringW(NULL, NULL, NULL, f(r, 0));
        break;
    case J_REG_VALUE:
    case J_ROLLBACK_REG_VALUE:
        root = root_from_number(f(r, 0));
        if (!root || !registry_delete_value(root, f(r, 1), f(r, 2)))
            fail(run, L"Registry value", f(r, 1));
        break;
    case J_REG_KEY:
    case J_ROLLBACK_REG_KEY:
        root = root_from_number(f(r, 0));
        if (root)
            registry_delete_key_if_empty(root, f(r, 1));
        break;
    case J_REG_OLD:
        if (!registry_restore(f(r, 0), f(r, 1), f(r, 2), f(r, 3), f(r, 4))) {
            run->failures++;
            log_line(LOG_ERROR, L"Registry value could not be restored: %ls\\%ls", f(r, 1), f(r, 2));
        }
        break;
    case J_FILE:
    case J_ROLLBACK_FILE:
        if (!file_delete(f(r, 0), &run->at_restart))
            fail(run, L"File", f(r, 0));
        break;
    case J_DELETE:
        delete_path(run, r);
        break;
    case J_REG_DELETE:
        root = root_from_number(f(r, 0));
        if (!root || !(*f(r, 2) ? registry_delete_value(root, f(r, 1), f(r, 2)) : registry_delete_tree(root, f(r, 1))))
            fail(run, L"Registry entry", f(r, 1));
        break;
    case J_FOLDER:
        if (!folder_protected(f(r, 0)))
            RemoveDirectoryW(f(r, 0)); /* only when empty */
        break;
    case J_PROGRAMS:
        root = root_from_number(f(r, 0));
        if (!root || !registry_delete_tree(root, f(r, 1)))
            fail(run, L"Installed-programs entry", f(r, 1));
        break;
    }
}
