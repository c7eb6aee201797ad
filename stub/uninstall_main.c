/* The uninstaller: finds the uninstall log the installer wrote, undoes what it records and
 * removes itself. A running program cannot delete its own file, so the program first copies
 * itself to the temporary folder and lets the copy do the work; the original waits for the
 * copy's result (its exit code) and ends, and the copy then deletes the original. */
#include "actions.h"
#include "exit_codes.h"
#include "install_texts.h"
#include "journal.h"
#include "log.h"
#include "options.h"
#include "programs_entry.h"
#include "text.h"
#include "ui.h"
#include "undo_system.h"
#include "variables.h"

#include <shellapi.h>
#include <string.h>

static wchar_t *module_path(void)
{
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(NULL, buf, 32768);
    return n > 0 && n < 32768 ? w_dup(buf) : NULL;
}

/* The log named by the installed-programs entry whose uninstaller is this file. */
static wchar_t *log_from_registry(const wchar_t *uninstaller)
{
    HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    for (int r = 0; r < 2; r++) {
        HKEY list;
        if (RegOpenKeyExW(roots[r], PROGRAMS_LIST_KEY, 0, KEY_READ, &list) != ERROR_SUCCESS)
            continue;
        wchar_t name[512];
        for (DWORD i = 0;; i++) {
            DWORD len = 512;
            if (RegEnumKeyExW(list, i, name, &len, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
                break;
            wchar_t *sub = w_cat3(PROGRAMS_LIST_KEY, L"\\", name);
            wchar_t *icon = registry_read_text(roots[r], sub, PROGRAMS_ENTRY_UNINSTALLER);
            wchar_t *log = icon && w_ieq(icon, uninstaller) ? registry_read_text(roots[r], sub, PROGRAMS_ENTRY_LOG) : NULL;
            xfree(icon);
            xfree(sub);
            if (log) {
                RegCloseKey(list);
                return log;
            }
        }
        RegCloseKey(list);
    }
    return NULL;
}

/* Otherwise any uninstall log beside the uninstaller. */
static wchar_t *log_beside(const wchar_t *uninstaller)
{
    wchar_t *folder = path_folder(uninstaller);
    wchar_t *pattern = path_join(folder, L"*");
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(pattern, &fd);
    wchar_t *found = NULL;
    if (f != INVALID_HANDLE_VALUE) {
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || fd.nFileSizeLow > 64 * 1024 * 1024)
                continue;
            wchar_t *p = path_join(folder, fd.cFileName);
            Journal j;
            if (journal_load(&j, p)) {
                journal_free(&j);
                found = p;
                break;
            }
            xfree(p);
        } while (FindNextFileW(f, &fd));
        FindClose(f);
    }
    xfree(pattern);
    xfree(folder);
    return found;
}

/* A handle value passed on the command line (/PARENT=, /REPORT=) */
static HANDLE handle_of(unsigned long long value)
{
    return (HANDLE)(ULONG_PTR)value;
}

static int report(HANDLE pipe, int code)
{
    if (pipe) {
        DWORD put;
        WriteFile(pipe, &code, sizeof code, &put, NULL);
        CloseHandle(pipe);
    }
    return code;
}

/* A text in the installation's language, which the log carries; the English text for logs
 * that carry none. */
static wchar_t *log_text(const Journal *j, int role, const wchar_t *product)
{
    for (size_t i = 0; i < j->count; i++) {
        long long n;
        const JournalRecord *r = &j->items[i];
        if (r->tag == J_TEXT && r->count == 2 && wparse_i64(r->field[0], &n) && n == role)
            return w_dup(r->field[1]);
    }
    return install_text_named(role, product ? product : L"");
}

/* The step's text in the installation's language (the log is the context). */
static int progress(void *ctx, int role, const wchar_t *english)
{
    const Journal *j = ctx;
    wchar_t *t = log_text(j, role, journal_find(j, J_PRODUCT, 0));
    ui_status(t);
    xfree(t);
    return ui_pump();
}

/* Undoes one record and moves the bar: the records of the log measure the work (some are
 * never undone, so the bar is filled at the end). */
static void undo_and_count(UndoRun *run, const JournalRecord *r)
{
    static size_t undone;
    const Journal *j = run->ctx;
    undo_on_system(run, r);
    ui_progress(++undone, j->count);
}

/* The work, done by the temporary copy (or by the original when no copy could be made). */
static int uninstall(Options *o, const wchar_t *original)
{
    wchar_t *log_path = log_from_registry(original);
    Journal j;
    int loaded = log_path && journal_load(&j, log_path);
    if (!loaded) {
        xfree(log_path);
        log_path = log_beside(original);
        loaded = log_path && journal_load(&j, log_path);
    }
    if (!loaded) {
        ui_init(o->silent, L"Uninstall");
        log_line(LOG_ERROR, L"No uninstall log was found for %ls.", original);
        ui_error(L"The uninstall log was not found. The program cannot be removed.");
        xfree(log_path);
        return EXIT_NO_LOG;
    }
    const wchar_t *product = journal_find(&j, J_PRODUCT, 0);
    const wchar_t *title = journal_find(&j, J_TITLE, 0), *code_page = journal_find(&j, J_LANGUAGE, 0);
    long long cp = CODE_PAGE_ANSI;
    if (code_page)
        wparse_i64(code_page, &cp);
    product = product ? product : L"";
    ui_init(o->silent, title && *title ? title : L"Uninstall");
    ui_set_code_page((unsigned)cp);
    log_line(LOG_INFO, L"Removing %ls (log %ls)", product, log_path);
    int code = EXIT_CANCELLED;
    wchar_t *t = log_text(&j, TXT_CANCEL_QUESTION, product);
    ui_set_cancel_question(t);
    xfree(t);
    t = log_text(&j, TXT_UNINSTALL_QUESTION, product);
    int go = o->silent || ui_ask(t, 1);
    xfree(t);
    const wchar_t *match = journal_find(&j, J_CLOSE_APP, 0), *app = journal_find(&j, J_CLOSE_APP, 1);
    if (go && match && app && *app) {
        long long m = 0;
        wparse_i64(match, &m);
        t = log_text(&j, TXT_UNINSTALL_APP_RUNNING, product);
        while (go && application_running((int)m, app)) {
            go = o->silent || ui_ok_cancel(t);
            if (go && !application_close((int)m, app, 10000) && o->silent) {
                log_line(LOG_ERROR, L"The running program could not be closed: %ls", app);
                code = EXIT_REQUIREMENTS;
                go = 0;
            }
        }
        xfree(t);
    }
    if (!go) {
        journal_free(&j);
        xfree(log_path);
        return code;
    }
    wchar_t *heading = log_text(&j, TXT_UNINSTALL, product), *description = log_text(&j, TXT_UNINSTALLING, product);
    wchar_t *cancel = log_text(&j, TXT_CANCEL, product);
    ui_progress_show(heading, description, cancel);
    xfree(heading);
    xfree(description);
    xfree(cancel);
    UndoRun run = {0};
    run.uninstalling = 1;
    run.keep_file = original;
    run.progress = progress;
    run.ctx = &j;
    run.undo = undo_and_count;
    journal_undo(&j, &run);
    ui_progress(1, 1);
    file_delete(log_path, &run.at_restart);
    ui_progress_hide();
    code = run.failures ? EXIT_FAILED : run.at_restart ? EXIT_RESTART : EXIT_DONE;
    log_line(code == EXIT_FAILED ? LOG_ERROR : LOG_INFO, L"Removal finished (exit code %d).", code);
    t = log_text(&j, code == EXIT_FAILED ? TXT_UNINSTALL_LEFTOVERS : TXT_UNINSTALLED, product);
    if (code == EXIT_FAILED)
        ui_error(t);
    else
        ui_info(t);
    xfree(t);
    const wchar_t *page = journal_find(&j, J_WEB_PAGE, 0);
    if (!o->silent && page && *page)
        ShellExecuteW(NULL, L"open", page, NULL, NULL, SW_SHOWNORMAL);
    /* Folders that only the uninstaller kept from being empty go after it. */
    Journal folders = {0};
    for (size_t i = 0; i < j.count; i++)
        if (j.items[i].tag == J_FOLDER && j.items[i].count > 0)
            journal_add(&folders, J_FOLDER, 1, j.items[i].field[0]);
    journal_free(&j);
    xfree(log_path);
    report(handle_of(o->report), code);
    o->report = 0;
    if (o->parent) {
        WaitForSingleObject(handle_of(o->parent), 30000);
        CloseHandle(handle_of(o->parent));
    }
    if (o->origin) {
        int later = 0;
        file_delete(original, &later);
        for (size_t i = folders.count; i-- > 0;)
            if (!folder_protected(folders.items[i].field[0]))
                RemoveDirectoryW(folders.items[i].field[0]);
    }
    journal_free(&folders);
    return code;
}

/* Starts the temporary copy and passes its result on; -1 when no copy could be started. */
static int run_copy(const wchar_t *self)
{
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH)
        return -1;
    wchar_t *copy = w_fmt(L"%ls~uninst%x.exe", temp, (unsigned)GetCurrentProcessId());
    if (!CopyFileW(self, copy, FALSE)) {
        xfree(copy);
        return -1;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE read_end, write_end, me;
    if (!CreatePipe(&read_end, &write_end, &sa, 0)) {
        DeleteFileW(copy);
        xfree(copy);
        return -1;
    }
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &me, SYNCHRONIZE, TRUE, 0);
    /* Own switches first, then the user's (so that /D= and the like stay last). */
    const wchar_t *args = GetCommandLineW();
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(args, &argc);
    WBuf line = {0};
    wb_add(&line, L"\"");
    wb_add(&line, copy);
    wb_add(&line, L"\" \"/ORIGIN=");
    wb_add(&line, self);
    wb_add(&line, L"\" /PARENT=");
    wb_add_u64(&line, (unsigned long long)(ULONG_PTR)me);
    wb_add(&line, L" /REPORT=");
    wb_add_u64(&line, (unsigned long long)(ULONG_PTR)write_end);
    for (int i = 1; argv && i < argc; i++) {
        wb_add(&line, L" \"");
        wb_add(&line, argv[i]);
        wb_add(&line, L"\"");
    }
    if (argv)
        LocalFree(argv);
    wchar_t *cmd = wb_take(&line);
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi;
    BOOL started = CreateProcessW(copy, cmd, NULL, NULL, TRUE, 0, NULL, temp, &si, &pi);
    xfree(cmd);
    CloseHandle(write_end);
    CloseHandle(me);
    if (!started) {
        CloseHandle(read_end);
        DeleteFileW(copy);
        xfree(copy);
        return -1;
    }
    CloseHandle(pi.hThread);
    int code = -1;
    DWORD got = 0;
    if (!ReadFile(read_end, &code, sizeof code, &got, NULL) || got != sizeof code) {
        /* The copy ended without a result: its exit code is the answer. */
        DWORD exit_code = EXIT_FAILED;
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &exit_code);
        code = (int)exit_code;
    }
    CloseHandle(read_end);
    CloseHandle(pi.hProcess);
    xfree(copy);
    return code;
}

/* The process starts here: the program needs none of the C run-time start-up (no arguments
 * array, constructors or thread-local data), so the linker is told to enter it directly. */
__attribute__((force_align_arg_pointer, externally_visible)) void WINAPI program_start(void)
{
    Options o;
    options_parse_command_line(&o, GetCommandLineW());
    wchar_t *self = module_path();
    if (!self)
        ExitProcess(EXIT_FAILED);
    if (!o.origin) {
        int code = run_copy(self);
        if (code >= 0)
            ExitProcess((UINT)code);
    }
    if (o.log) {
        log_open(o.log);
    } else if (o.silent) {
        wchar_t temp[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH, temp);
        if (n > 0 && n <= MAX_PATH) {
            wchar_t *log = w_cat(temp, L"uninstall.log");
            log_open(log);
            xfree(log);
        }
    }
    const wchar_t *original = o.origin ? o.origin : self;
    int code = uninstall(&o, original);
    report(handle_of(o.report), code);
    log_close();
    if (o.origin) /* this temporary copy goes at the next restart */
        MoveFileExW(self, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    ExitProcess((UINT)code);
}
