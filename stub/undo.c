#include "undo.h"
#include "actions.h"
#include "log.h"
#include "text.h"

#include <shlobj.h>

static const JournalRecord *rec(const Journal *j, size_t i)
{
    return &j->items[i];
}

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

static void run_commands(const Journal *j, UndoRun *run, int after)
{
    for (size_t i = 0; i < j->count; i++) {
        const JournalRecord *r = rec(j, i);
        if (r->tag != J_COMMAND || (wcscmp(f(r, 4), L"1") == 0) != after)
            continue;
        long long type = 0, show = 1;
        wparse_i64(f(r, 0), &type);
        wparse_i64(f(r, 3), &show);
        DWORD code = 0;
        if (command_run((int)type, f(r, 1), f(r, 2), (int)show, wcscmp(f(r, 5), L"1") == 0, &code))
            log_line(LOG_INFO, L"Command run: %ls %ls (exit code %u)", f(r, 1), f(r, 2), (unsigned)code);
        else
            log_line(LOG_WARN, L"Command could not be started: %ls", f(r, 1));
    }
}

static int step(UndoRun *run, const wchar_t *status)
{
    return !run->progress || run->progress(run->ctx, status);
}

void journal_undo(const Journal *j, UndoRun *run)
{
    if (run->uninstalling) {
        if (!step(run, L"Running uninstall commands..."))
            return;
        run_commands(j, run, 0);
    }
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = rec(j, i);
        if (r->tag == J_ACTIVEX && !activex_register(f(r, 0), 1))
            log_line(LOG_WARN, L"Component could not be unregistered: %ls", f(r, 0));
        if (r->tag == J_FONT)
            font_unregister(f(r, 0), f(r, 1));
    }
    step(run, L"Removing shortcuts...");
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = rec(j, i);
        if (r->tag == J_SHORTCUT && !file_delete(f(r, 0), &run->at_restart))
            fail(run, L"Shortcut", f(r, 0));
    }
    step(run, L"Removing registry values...");
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = rec(j, i);
        const int ini = r->tag == J_INI || (!run->uninstalling && r->tag == J_ROLLBACK_INI);
        if (ini && !ini_delete(f(r, 0), f(r, 1), f(r, 2)))
            fail(run, L"INI entry", f(r, 2));
        if (!run->uninstalling && r->tag == J_INI_OLD) {
            WritePrivateProfileStringW(f(r, 1), f(r, 2), f(r, 3), f(r, 0));
            WritePrivateProfileStringW(NULL, NULL, NULL, f(r, 0));
        }
        /* A rollback also undoes what the uninstaller would keep, and puts overwritten values
         * back (their old value was recorded just before the new one, so it comes after it
         * in this backward walk). */
        const int rollback = !run->uninstalling;
        const int value = r->tag == J_REG_VALUE || (rollback && r->tag == J_ROLLBACK_REG_VALUE);
        const int key = r->tag == J_REG_KEY || (rollback && r->tag == J_ROLLBACK_REG_KEY);
        HKEY root = value || key ? root_from_number(f(r, 0)) : NULL;
        if (value && (!root || !registry_delete_value(root, f(r, 1), f(r, 2))))
            fail(run, L"Registry value", f(r, 1));
        if (key && root)
            registry_delete_key_if_empty(root, f(r, 1));
        if (rollback && r->tag == J_REG_OLD && !registry_restore(f(r, 0), f(r, 1), f(r, 2), f(r, 3), f(r, 4))) {
            run->failures++;
            log_line(LOG_ERROR, L"Registry value could not be restored: %ls\\%ls", f(r, 1), f(r, 2));
        }
    }
    step(run, L"Removing files...");
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = rec(j, i);
        const int file = r->tag == J_FILE || (!run->uninstalling && r->tag == J_ROLLBACK_FILE);
        if (!file || (run->keep_file && w_ieq(f(r, 0), run->keep_file)))
            continue;
        if (!file_delete(f(r, 0), &run->at_restart))
            fail(run, L"File", f(r, 0));
    }
    if (run->uninstalling) {
        for (size_t i = 0; i < j->count; i++) {
            const JournalRecord *r = rec(j, i);
            if (r->tag == J_DELETE) {
                const wchar_t *path = f(r, 1);
                int kind = wcscmp(f(r, 0), L"0") == 0 ? 0 : wcscmp(f(r, 0), L"1") == 0 ? 1 : 2;
                DWORD a = GetFileAttributesW(path);
                if (a == INVALID_FILE_ATTRIBUTES)
                    continue;
                if (kind == 0) {
                    if (!file_delete(path, &run->at_restart))
                        fail(run, L"File", path);
                } else if (folder_protected(path)) {
                    log_line(LOG_WARN, L"Folder left in place (a system folder): %ls", path);
                } else if (kind == 1) {
                    if (!RemoveDirectoryW(path))
                        log_line(LOG_WARN, L"Folder not empty, left in place: %ls", path);
                } else if (!folder_delete_tree(path)) {
                    fail(run, L"Folder", path);
                }
            }
            if (r->tag == J_REG_DELETE) {
                HKEY root = root_from_number(f(r, 0));
                int ok = root && (*f(r, 2) ? registry_delete_value(root, f(r, 1), f(r, 2))
                                           : registry_delete_tree(root, f(r, 1)));
                if (!ok)
                    fail(run, L"Registry entry", f(r, 1));
            }
        }
    }
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = rec(j, i);
        if (r->tag == J_FOLDER && !folder_protected(f(r, 0)))
            RemoveDirectoryW(f(r, 0)); /* only when empty */
    }
    if (run->uninstalling)
        run_commands(j, run, 1);
    for (size_t i = 0; i < j->count; i++) {
        const JournalRecord *r = rec(j, i);
        if (r->tag == J_PROGRAMS) {
            HKEY root = root_from_number(f(r, 0));
            if (!root || !registry_delete_tree(root, f(r, 1)))
                fail(run, L"Installed-programs entry", f(r, 1));
        }
    }
}
