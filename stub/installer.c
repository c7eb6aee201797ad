#include "installer.h"
#include "install_checks.h"
#include "install_decisions.h"
#include "install_steps.h"
#include "actions.h"
#include "cabinet.h"
#include "data_block.h"
#include "exit_codes.h"
#include "install_texts.h"
#include "log.h"
#include "password.h"
#include "machine_variables.h"
#include "registry.h"
#include "text.h"
#include "ui.h"
#include "undo_system.h"
#include "wizard.h"

#include <objbase.h>
#include <shlobj.h>
#include <string.h>

/* ---------- texts ---------- */

wchar_t *installer_side_file(const Installer *in, int number)
{
    wchar_t *name = w_fmt(L"side\\%d.tmp", number);
    wchar_t *path = path_join(in->work, name);
    xfree(name);
    return path;
}

wchar_t *installer_text(const Installer *in, int index)
{
    return install_text(in->script, in->language, index);
}

static wchar_t *text_with(const Installer *in, int index, const wchar_t *file, int disk)
{
    return install_text_with(in->script, in->language, index, file, disk);
}

/* ---------- what the checks found ---------- */

static int fail_check(Installer *in, int text_index, const wchar_t *extra, const wchar_t *log_text)
{
    wchar_t *t = installer_text(in, text_index);
    wchar_t *msg = extra ? w_cat3(t, L"\n", extra) : w_dup(t);
    log_line(LOG_ERROR, L"%ls", log_text);
    ui_error(msg);
    xfree(msg);
    xfree(t);
    in->exit_code = EXIT_REQUIREMENTS;
    return 0;
}

static int report_requirement(Installer *in, CheckResult failed, int silent)
{
    const Script *s = in->script;
    switch (failed) {
    case CHECK_SYSTEM_REFUSED: {
        wchar_t *systems = w_from_ansi(script_field(s, FLD_SYSTEMS_TEXT));
        fail_check(in, TXT_SYSTEM_REFUSED, systems, L"This version of Windows is not supported by the installation.");
        xfree(systems);
        return 0;
    }
    case CHECK_ADMIN_REQUIRED:
        return fail_check(in, TXT_ADMIN_REQUIRED, NULL, L"Administrator rights are required.");
    case CHECK_NET_MISSING: {
        const char *page = script_field(s, FLD_NET_PAGE);
        fail_check(in, TXT_NET_MISSING, NULL, L"The required .NET Framework is not installed.");
        if (!silent && strcmp(page, SCRIPT_NONE) != 0 && *page) {
            wchar_t *url = vars_expand_a(&in->vars, page);
            ShellExecuteW(NULL, L"open", url, NULL, NULL, SW_SHOWNORMAL);
            xfree(url);
        }
        return 0;
    }
    case CHECK_PASSED:
        break;
    }
    return 1;
}

/* Closes the running application: a silent run closes it without asking and fails when it
 * stays; otherwise the user is asked each time it is still there. */
static int close_running_application(Installer *in, int silent)
{
    int match = (int)script_number(in->script, FLD_APP_MATCH);
    wchar_t *app;
    while ((app = running_application(in)) != NULL) {
        if (!silent) {
            wchar_t *t = installer_text(in, TXT_APP_RUNNING);
            int go = ui_ask(t, 1);
            xfree(t);
            if (!go) {
                xfree(app);
                in->exit_code = EXIT_CANCELLED;
                return 0;
            }
        }
        log_line(LOG_INFO, L"Closing the running application: %ls", app);
        int closed = application_close(match, app, 10000);
        xfree(app);
        if (!closed && silent)
            return fail_check(in, TXT_APP_NOT_CLOSED, NULL, L"The running application could not be closed.");
    }
    return 1;
}

/* The password: the one given with /P= must match; a silent run without it fails; otherwise
 * the wizard's password page asks for it. */
static int settle_password(Installer *in, int silent)
{
    const Script *s = in->script;
    if (!*script_field(s, FLD_PASSWORD))
        return 1;
    if (in->opt.password) {
        if (!password_matches(s, in->opt.password))
            return fail_check(in, TXT_PASSWORD_WRONG, NULL, L"The password given on the command line is wrong.");
        return 1;
    }
    if (silent)
        return fail_check(in, TXT_PASSWORD_PROTECTED, NULL, L"The installation is protected by a password; give it with /P=.");
    return 1; /* the wizard's password page asks for it */
}

static int run_checks(Installer *in, int silent)
{
    return report_requirement(in, check_requirements(in), silent) && close_running_application(in, silent) &&
           settle_password(in, silent);
}

/* ---------- progress ---------- */

static int tick(void *ctx)
{
    Installer *in = ctx;
    if (in->cancelled)
        return 0;
    if (!ui_pump()) {
        in->cancelled = 1;
        return 0;
    }
    return 1;
}

/* ---------- files ---------- */

typedef struct {
    Installer *in;
    size_t number;      /* payload file being written */
    wchar_t *dest;
    wchar_t *temp;      /* written here first, then moved into place */
    HANDLE h;
    PayloadReader *reader;
    int next_cabinet;
} FileJob;

/* Asks whether the existing file at dest is replaced. */
static int ask_replace(Installer *in, const wchar_t *dest, int question)
{
    wchar_t *a = installer_text(in, TXT_FILE_EXISTS);
    wchar_t *b = installer_text(in, question);
    wchar_t *q = w_fmt(L"%ls\n%ls\n\n%ls", a, dest, b);
    int replace = ui_ask(q, 1);
    xfree(q);
    xfree(a);
    xfree(b);
    return replace;
}

/* Decides whether payload file number j goes to its destination. */
static int want_file(Installer *in, size_t j, const wchar_t *dest, const FILETIME *time)
{
    long long mode = 0;
    parse_i64(script_value(in->script, SEC_G, j, G_MODE), &mode);
    WIN32_FILE_ATTRIBUTE_DATA existing;
    if (!GetFileAttributesExW(dest, GetFileExInfoStandard, &existing))
        return 1;
    if (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        log_line(LOG_ERROR, L"A folder stands where a file goes: %ls", dest);
        return 0;
    }
    int newer = CompareFileTime(time, &existing.ftLastWriteTime) > 0;
    ReplaceDecision decision = replace_decision(mode, newer);
    int replace = decision == REPLACE_WRITE;
    if (decision == REPLACE_ASK || decision == REPLACE_ASK_NEWER)
        replace = ask_replace(in, dest, decision == REPLACE_ASK ? TXT_REPLACE_QUESTION : TXT_REPLACE_NEWER_QUESTION);
    if (!replace)
        log_line(LOG_INFO, L"Existing file kept: %ls", dest);
    return replace;
}

static HANDLE begin_file(FileJob *job, size_t j, const FILETIME *time)
{
    Installer *in = job->in;
    job->number = j;
    job->dest = install_expand_path(in, script_value(in->script, SEC_G, j, G_DEST));
    install_status(in, TXT_COPYING, job->dest);
    if (!*job->dest || !want_file(in, j, job->dest, time)) {
        xfree(job->dest);
        job->dest = NULL;
        return NULL;
    }
    wchar_t *folder = path_folder(job->dest);
    if (!make_folders(folder, &in->journal)) {
        log_line(LOG_ERROR, L"Folder could not be created: %ls", folder);
        xfree(folder);
        in->fatal = 1;
        return INVALID_HANDLE_VALUE;
    }
    xfree(folder);
    job->temp = w_cat(job->dest, L".~new");
    job->h = CreateFileW(job->temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (job->h == INVALID_HANDLE_VALUE) {
        wchar_t *t = text_with(in, TXT_WRITE_FAILED, job->dest, 0);
        log_line(LOG_ERROR, L"File could not be written: %ls (error %u)", job->dest, (unsigned)GetLastError());
        ui_error(t);
        xfree(t);
        in->fatal = 1;
        return INVALID_HANDLE_VALUE;
    }
    return job->h;
}

/* Moves the written file into place: an existing file is kept aside for rollback. */
static int finish_file(FileJob *job, const FILETIME *time, DWORD attributes)
{
    Installer *in = job->in;
    SetFileTime(job->h, NULL, NULL, time);
    CloseHandle(job->h);
    job->h = NULL;
    int ok = 1;
    DWORD old = GetFileAttributesW(job->dest);
    if (old != INVALID_FILE_ATTRIBUTES) {
        wchar_t *backup = w_fmt(L"%ls\\backup%u", in->work, (unsigned)in->backups);
        SetFileAttributesW(job->dest, old & ~FILE_ATTRIBUTE_READONLY);
        if (MoveFileExW(job->dest, backup, MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING)) {
            in->backup_from = xrealloc(in->backup_from, (in->backups + 1) * sizeof(wchar_t *));
            in->backup_to = xrealloc(in->backup_to, (in->backups + 1) * sizeof(wchar_t *));
            in->backup_from[in->backups] = w_dup(job->dest);
            in->backup_to[in->backups] = backup;
            in->backups++;
        } else {
            xfree(backup);
        }
    }
    if (!MoveFileExW(job->temp, job->dest, MOVEFILE_REPLACE_EXISTING)) {
        /* In use: it replaces the old file at the next restart. */
        if (MoveFileExW(job->temp, job->dest, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
            in->restart = 1;
            log_line(LOG_WARN, L"File in use, replaced at the next restart: %ls", job->dest);
        } else {
            log_line(LOG_ERROR, L"File could not be put in place: %ls (error %u)", job->dest, (unsigned)GetLastError());
            DeleteFileW(job->temp);
            in->fatal = 1;
            ok = 0;
        }
    }
    if (ok) {
        DWORD keep = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_ARCHIVE);
        SetFileAttributesW(job->dest, keep ? keep : FILE_ATTRIBUTE_NORMAL);
        /* A file the uninstaller keeps is still removed when this installation rolls back. */
        const int uninstall = script_yes(script_value(in->script, SEC_G, job->number, G_UNINSTALL));
        journal_add(&in->journal, uninstall ? J_FILE : J_ROLLBACK_FILE, 1, job->dest);
        log_line(LOG_INFO, L"File installed: %ls", job->dest);
    }
    xfree(job->temp);
    xfree(job->dest);
    job->temp = job->dest = NULL;
    return ok;
}

static void abandon_file(FileJob *job)
{
    if (job->h && job->h != INVALID_HANDLE_VALUE)
        CloseHandle(job->h);
    if (job->temp)
        DeleteFileW(job->temp);
    xfree(job->temp);
    xfree(job->dest);
    job->h = NULL;
    job->temp = job->dest = NULL;
}

static int ask_volume(void *ctx, int disk, const wchar_t *path)
{
    Installer *in = ctx;
    wchar_t *t = text_with(in, TXT_INSERT_DISK, path_name(path), disk);
    int again = ui_retry(t);
    xfree(t);
    return again;
}

static void payload_failed(Installer *in, PayloadReader *r, const wchar_t *fallback)
{
    const wchar_t *why = r->error ? r->error : fallback;
    log_line(LOG_ERROR, L"%ls", why);
    if (in->cancelled) {
        in->exit_code = EXIT_CANCELLED;
    } else {
        ui_error(why);
        in->exit_code = r->missing_volume ? EXIT_MISSING_DISK : in->exit_code ? in->exit_code : EXIT_DAMAGED;
    }
    in->fatal = 1;
}

static int write_to_handle(void *h, const void *bytes, size_t n)
{
    DWORD put = 0;
    return WriteFile(h, bytes, (DWORD)n, &put, NULL) && put == n;
}

static void install_stored(Installer *in, PayloadReader *r)
{
    size_t count = in->script->entries[SEC_G];
    for (size_t j = 0; j < count && !in->fatal; j++) {
        unsigned char raw[STORED_HEADER_SIZE];
        StoredHeader h;
        if (!payload_read(r, raw, sizeof raw)) {
            payload_failed(in, r, L"The setup file's data cannot be read.");
            return;
        }
        stored_header_read(raw, &h);
        if (h.number != j) {
            xfree(r->error);
            r->error = w_dup(L"The setup file is damaged: its files are out of order.");
            payload_failed(in, r, NULL);
            return;
        }
        FileJob job = {in};
        FILETIME time = {(DWORD)h.write_time, (DWORD)(h.write_time >> 32)};
        HANDLE out = begin_file(&job, j, &time);
        if (out == INVALID_HANDLE_VALUE)
            return;
        if (!payload_copy(r, out ? write_to_handle : NULL, out, h.size, tick, in)) {
            abandon_file(&job);
            payload_failed(in, r, L"The setup file's data cannot be read.");
            return;
        }
        if (out && !finish_file(&job, &time, h.attributes))
            return;
        in->done += h.size;
        ui_progress(in->done, in->total);
    }
}

/* ---- cabinet form: FDI sink ---- */

static int cab_materialise(void *ctx, int index, const wchar_t *path)
{
    FileJob *job = ctx;
    Installer *in = job->in;
    if (index != job->next_cabinet)
        return 0;
    job->next_cabinet++;
    unsigned long long size = payload_cabinet_size(in->script, index);
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    DWORD put;
    int ok = WriteFile(h, CABINET_SIGNATURE, 4, &put, NULL) && put == 4 &&
             payload_copy(job->reader, write_to_handle, h, size, tick, in);
    CloseHandle(h);
    return ok;
}

static HANDLE cab_open_file(void *ctx, const char *name, long size, USHORT date, USHORT time,
                            USHORT attributes, int *abort)
{
    FileJob *job = ctx;
    Installer *in = job->in;
    unsigned long long j;
    if (!parse_u64(name, &j) || j >= in->script->entries[SEC_G]) {
        log_line(LOG_WARN, L"Unexpected entry in the installation data: %hs", name);
        return NULL;
    }
    FILETIME ft;
    cab_time_to_filetime(date, time, &ft);
    HANDLE h = begin_file(job, (size_t)j, &ft);
    if (h == INVALID_HANDLE_VALUE) {
        *abort = 1;
        return NULL;
    }
    in->done += (unsigned long long)size;
    return h;
}

static int cab_close_file(void *ctx, HANDLE h, const char *name, USHORT date, USHORT time, USHORT attributes)
{
    FileJob *job = ctx;
    FILETIME ft;
    cab_time_to_filetime(date, time, &ft);
    job->h = h;
    int ok = finish_file(job, &ft, attributes & ~(unsigned)CABINET_ATTRIBUTE_EXECUTE);
    ui_progress(job->in->done, job->in->total);
    return ok;
}

static int cab_tick(void *ctx)
{
    FileJob *job = ctx;
    return tick(job->in);
}

static void install_cabinets(Installer *in, PayloadReader *r)
{
    FileJob job = {in};
    job.reader = r;
    CabSink sink = {&job, cab_materialise, cab_open_file, cab_close_file, cab_tick};
    wchar_t *folder = path_join(in->work, L"cab");
    CreateDirectoryW(folder, NULL);
    wchar_t *err = cab_extract_chain(&sink, payload_cabinet_count(in->script), folder);
    if (job.dest)
        abandon_file(&job);
    RemoveDirectoryW(folder);
    xfree(folder);
    if (err) {
        /* The reader's or the file writer's own reason comes first. */
        if (!r->error && !in->fatal)
            r->error = w_fmt(L"The setup file's data cannot be unpacked: %ls.", err);
        if (r->error)
            payload_failed(in, r, NULL);
        else
            in->fatal = 1;
    }
    xfree(err);
}

/* The texts the uninstaller shows, which the uninstall log carries. */
static const int UNINSTALLER_TEXTS[] = {TXT_UNINSTALL_QUESTION,  TXT_UNINSTALLING,       TXT_UNINSTALLED,
                                        TXT_UNINSTALL_LEFTOVERS, TXT_UNINSTALL_APP_RUNNING, TXT_CANCEL,
                                        TXT_CANCEL_QUESTION,     TXT_REMOVING_SHORTCUTS, TXT_REMOVING_FILES,
                                        TXT_REMOVING_REGISTRY,   TXT_RUNNING_UNINSTALL_COMMANDS};

/* The uninstaller's own entries of the log: its commands and deletions, and the entry of
 * the installed-programs list. */
static void prepare_uninstaller(Installer *in, wchar_t **uninstaller, wchar_t **log_path)
{
    const Script *s = in->script;
    install_status(in, TXT_CREATING_UNINSTALLER, NULL);
    *uninstaller = install_expand_path(in, script_field(s, FLD_UNINSTALL_FILE));
    *log_path = install_expand_path(in, script_field(s, FLD_UNINSTALL_LOG));
    wchar_t *product = vars_expand_a(&in->vars, script_field(s, FLD_UNINSTALL_NAME));
    wchar_t *title = vars_expand_a(&in->vars, script_field(s, FLD_UN_TITLE));
    journal_add(&in->journal, J_PRODUCT, 1, product);
    journal_add(&in->journal, J_TITLE, 1, title);
    /* The uninstaller speaks the language of the installation. */
    wchar_t *code_page = w_fmt(L"%u", install_language_code_page(s, in->language));
    journal_add(&in->journal, J_LANGUAGE, 1, code_page);
    xfree(code_page);
    for (size_t i = 0; i < sizeof UNINSTALLER_TEXTS / sizeof UNINSTALLER_TEXTS[0]; i++) {
        wchar_t *role = w_fmt(L"%d", UNINSTALLER_TEXTS[i]), *t = installer_text(in, UNINSTALLER_TEXTS[i]);
        journal_add(&in->journal, J_TEXT, 2, role, t);
        xfree(role);
        xfree(t);
    }
    if (script_flag(s, FLD_UN_CLOSE_APP)) {
        wchar_t *match = w_from_ansi(script_field(s, FLD_UN_APP_MATCH));
        wchar_t *app = vars_expand_a(&in->vars, script_field(s, FLD_UN_APP_TEXT));
        journal_add(&in->journal, J_CLOSE_APP, 2, match, app);
        xfree(match);
        xfree(app);
    }
    if (script_flag(s, FLD_UN_OPEN_PAGE)) {
        wchar_t *page = vars_expand_a(&in->vars, script_field(s, FLD_UN_PAGE));
        journal_add(&in->journal, J_WEB_PAGE, 1, page);
        xfree(page);
    }
    for (size_t i = 0; i < s->entries[SEC_J]; i++) {
        wchar_t *v[6];
        for (int k = 0; k < 6; k++)
            v[k] = k == CMD_COMMAND || k == CMD_PARAMS ? vars_expand_a(&in->vars, script_value(s, SEC_J, i, k))
                                                       : w_from_ansi(script_value(s, SEC_J, i, k));
        journal_add(&in->journal, J_COMMAND, 6, v[0], v[1], v[2], v[3], v[4], v[5]);
        for (int k = 0; k < 6; k++)
            xfree(v[k]);
    }
    for (size_t i = 0; i < s->entries[SEC_L]; i++) {
        wchar_t *kind = w_from_ansi(script_value(s, SEC_L, i, L_KIND));
        wchar_t *path = install_expand_path(in, script_value(s, SEC_L, i, L_PATH));
        journal_add(&in->journal, J_DELETE, 2, kind, path);
        xfree(kind);
        xfree(path);
    }
    for (size_t i = 0; i < s->entries[SEC_D]; i++) {
        wchar_t *root = w_from_ansi(script_value(s, SEC_D, i, D_ROOT));
        wchar_t *subkey = vars_expand_a(&in->vars, script_value(s, SEC_D, i, D_SUBKEY));
        wchar_t *name = vars_expand_a(&in->vars, script_value(s, SEC_D, i, D_NAME));
        journal_add(&in->journal, J_REG_DELETE, 3, root, subkey, name);
        xfree(root);
        xfree(subkey);
        xfree(name);
    }

    /* The installed-programs list: the machine's when it can be written, else the user's. */
    wchar_t *key_name = w_dup(*product ? product : L"Setup");
    for (wchar_t *p = key_name; *p; p++)
        if (*p == L'\\')
            *p = L'-';
    wchar_t *key_path = w_cat(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", key_name);
    int root = ROOT_LOCAL_MACHINE;
    HKEY key;
    if (RegCreateKeyExW(registry_root_key(root), key_path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS) {
        root = ROOT_CURRENT_USER;
        if (RegCreateKeyExW(registry_root_key(root), key_path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
            key = NULL;
    }
    if (key) {
        wchar_t *quoted = w_fmt(L"\"%ls\"", *uninstaller);
        wchar_t *quiet = w_fmt(L"\"%ls\" /S", *uninstaller);
        wchar_t *publisher = w_from_ansi(script_field(s, FLD_COMPANY));
        wchar_t *version = w_from_ansi(script_field(s, FLD_VERSION));
        wchar_t *web = vars_expand_a(&in->vars, script_field(s, FLD_WEB));
        wchar_t *support = vars_expand_a(&in->vars, script_field(s, FLD_SUPPORT));
        struct { const wchar_t *name, *value; } values[] = {
            {L"DisplayName", product}, {L"UninstallString", quoted}, {L"QuietUninstallString", quiet},
            {L"DisplayIcon", *uninstaller}, {L"Publisher", publisher}, {L"DisplayVersion", version},
            {L"InstallLocation", in->install_path}, {L"URLInfoAbout", web}, {L"HelpLink", support},
            {L"UninstallLog", *log_path},
        };
        for (size_t i = 0; i < sizeof values / sizeof values[0]; i++)
            if (*values[i].value)
                RegSetValueExW(key, values[i].name, 0, REG_SZ, (const BYTE *)values[i].value,
                               (DWORD)((wcslen(values[i].value) + 1) * sizeof(wchar_t)));
        DWORD one = 1, kb = (DWORD)script_number(s, FLD_REQUIRED_KB);
        RegSetValueExW(key, L"NoModify", 0, REG_DWORD, (const BYTE *)&one, 4);
        RegSetValueExW(key, L"NoRepair", 0, REG_DWORD, (const BYTE *)&one, 4);
        RegSetValueExW(key, L"EstimatedSize", 0, REG_DWORD, (const BYTE *)&kb, 4);
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
    xfree(product);
    xfree(title);
}

/* ---------- the run ---------- */

static wchar_t *make_work_folder(void)
{
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH)
        return NULL;
    for (unsigned i = 0; i < 1000; i++) {
        wchar_t *p = w_fmt(L"%ls~setup%x-%u", temp, (unsigned)GetCurrentProcessId(), i);
        if (CreateDirectoryW(p, NULL))
            return p;
        xfree(p);
    }
    return NULL;
}

static void roll_back(Installer *in)
{
    log_line(LOG_WARN, L"Rolling back the changes made so far.");
    UndoRun run = {0};
    run.undo = undo_on_system;
    journal_undo(&in->journal, &run);
    for (size_t i = in->backups; i-- > 0;)
        MoveFileExW(in->backup_to[i], in->backup_from[i], MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
}

static void clean_up(Installer *in)
{
    for (size_t i = 0; i < in->backups; i++) {
        DeleteFileW(in->backup_to[i]);
        xfree(in->backup_to[i]);
        xfree(in->backup_from[i]);
    }
    xfree(in->backup_to);
    xfree(in->backup_from);
    in->backups = 0;
    if (in->work) {
        folder_delete_tree(in->work);
        xfree(in->work);
        in->work = NULL;
    }
}

int installer_run(Installer *in, const wchar_t *self_path)
{
    wchar_t *error = setup_open(&in->setup, self_path);
    if (error) {
        log_line(LOG_ERROR, L"%ls", error);
        ui_error(error);
        xfree(error);
        return EXIT_DAMAGED;
    }
    in->script = &in->setup.script;
    const Script *s = in->script;
    int silent = in->opt.silent || script_flag(s, FLD_SILENT);
    in->language = install_language_choose(s, in->opt.language, GetUserDefaultUILanguage());
    wchar_t *title = vars_expand_a(&in->vars, script_field(s, FLD_TITLE));
    ui_init(silent, *title ? title : L"Setup");
    xfree(title);
    /* /L= chooses without asking, with or without a window. */
    if (!silent && !in->opt.language && !wizard_choose_language(in)) {
        log_line(LOG_INFO, L"Cancelled at the language choice.");
        return EXIT_CANCELLED;
    }
    ui_set_code_page(install_language_code_page(s, in->language));

    wchar_t *builder = w_from_ansi(script_field(s, FLD_BUILDER));
    wchar_t *product = w_from_ansi(script_field(s, FLD_PRODUCT));
    log_line(LOG_INFO, L"Setup of %ls (%ls), %ls", product, builder, silent ? L"silent" : L"with window");
    xfree(builder);
    xfree(product);

    in->common = script_number(s, FLD_GROUP_COMMON) == 1;
    vars_init_machine(&in->vars, s, in->setup.folder);
    vars_set_language(&in->vars, script_value(s, SEC_N, in->language, N_CAPTION));
    vars_read_user(&in->vars, s, registry_text_at, NULL);
    in->install_path = in->opt.folder ? w_dup(in->opt.folder) : vars_expand_a(&in->vars, script_field(s, FLD_INSTALL_PATH));
    path_strip_slash(in->install_path);
    vars_set_install_path(&in->vars, in->install_path);
    {
        wchar_t buf[MAX_PATH];
        int csidl = in->common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
        wchar_t *group = vars_expand_a(&in->vars, script_field(s, FLD_GROUP));
        if (SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, 0, buf) == S_OK)
            in->group_folder = *group ? path_join(buf, group) : w_dup(buf);
        else
            in->group_folder = w_dup(L"");
        xfree(group);
    }

    if (!run_checks(in, silent))
        return in->exit_code;
    in->work = make_work_folder();
    if (!in->work) {
        log_line(LOG_ERROR, L"No temporary folder could be created.");
        ui_error(L"No temporary folder could be created.");
        return EXIT_FAILED;
    }
    {
        wchar_t *side = path_join(in->work, L"side");
        CreateDirectoryW(side, NULL);
        int count = 0;
        wchar_t *err = data_block_extract(&in->setup, side, &count);
        xfree(side);
        if (!err)
            log_line(LOG_INFO, L"Side files unpacked: %d", count);
        if (err) {
            log_line(LOG_ERROR, L"%ls", err);
            ui_error(err);
            xfree(err);
            clean_up(in);
            return EXIT_DAMAGED;
        }
    }
    if (!silent && !wizard_before(in)) {
        clean_up(in);
        return EXIT_CANCELLED;
    }
    if (!path_is_absolute(in->install_path)) {
        log_line(LOG_ERROR, L"The install folder is not a full path: %ls", in->install_path);
        ui_error(L"The install folder is not a full path.");
        wizard_finish(in, 0);
        clean_up(in);
        return EXIT_FAILED;
    }
    log_line(LOG_INFO, L"Install folder: %ls", in->install_path);

    if (wizard_open()) {
        wizard_progress(in);
    } else {
        wchar_t *heading = installer_text(in, TXT_INSTALLING), *cancel = installer_text(in, TXT_CANCEL);
        ui_progress_show(heading, cancel);
        xfree(heading);
        xfree(cancel);
    }
    in->total = (unsigned long long)script_number(s, FLD_TOTAL_SOURCE_SIZE);

    run_commands(in, 0);
    if (!make_folders(in->install_path, &in->journal)) {
        log_line(LOG_ERROR, L"The install folder could not be created: %ls", in->install_path);
        in->fatal = 1;
        in->exit_code = EXIT_FAILED;
    }
    if (!in->fatal)
        make_folder_entries(in);
    if (!in->fatal && s->entries[SEC_G]) {
        install_status(in, TXT_UNPACKING, NULL);
        PayloadReader reader;
        payload_open(&reader, &in->setup, ask_volume, in);
        if (in->setup.trailer.cabinets)
            install_cabinets(in, &reader);
        else
            install_stored(in, &reader);
        payload_close(&reader);
    }
    if (!in->fatal && in->cancelled)
        in->fatal = 1;
    if (!in->fatal) {
        write_registry(in);
        write_ini(in);
        make_shortcuts(in);
        register_fonts(in);
        register_activex(in);
        run_commands(in, 1);
    }
    wchar_t *uninstaller = NULL, *log_path = NULL;
    if (!in->fatal && script_flag(s, FLD_UNINSTALLER)) {
        prepare_uninstaller(in, &uninstaller, &log_path);
        wchar_t *folder = path_folder(log_path);
        make_folders(folder, &in->journal);
        xfree(folder);
        journal_add(&in->journal, J_FILE, 1, log_path);
        if (!journal_save(&in->journal, log_path)) {
            log_line(LOG_ERROR, L"The uninstall log could not be written: %ls", log_path);
            journal_pop(&in->journal); /* the log itself: whatever is at its place is not ours */
            in->fatal = 1;
        }
    }
    ui_progress_hide();
    int code;
    if (in->fatal) {
        roll_back(in);
        code = in->cancelled ? EXIT_CANCELLED : in->exit_code ? in->exit_code : EXIT_FAILED;
        if (!in->cancelled) {
            wchar_t *t = installer_text(in, TXT_ROLLED_BACK);
            ui_error(t);
            xfree(t);
        }
        log_line(LOG_ERROR, L"Installation failed (exit code %d).", code);
    } else if (log_errors()) {
        code = EXIT_FAILED;
        wchar_t *t = installer_text(in, TXT_COMPLETED_WITH_ERRORS);
        ui_error(t);
        xfree(t);
        log_line(LOG_ERROR, L"Installation finished with %d errors.", log_errors());
    } else {
        code = in->restart ? EXIT_RESTART : EXIT_DONE;
        if (!wizard_shows_finish()) {
            wchar_t *t = installer_text(in, TXT_INSTALLED);
            ui_info(t);
            xfree(t);
        }
        log_line(LOG_INFO, L"Installation finished.");
    }
    wizard_finish(in, !in->fatal);
    xfree(uninstaller);
    xfree(log_path);
    clean_up(in);
    return code;
}
