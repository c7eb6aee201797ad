#include "install_files.h"
#include "actions.h"
#include "cabinet.h"
#include "exit_codes.h"
#include "install_decisions.h"
#include "install_steps.h"
#include "install_texts.h"
#include "log.h"
#include "text.h"
#include "ui.h"

static wchar_t *text_with(const Installer *in, int index, const wchar_t *file, int disk)
{
    return install_text_with(in->script, in->language, index, file, disk);
}

/* Keeps the window answering while data flows; 0 once the user has cancelled. */
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

/* ---- the cabinet form: what the system's unpacker hands over ---- */

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

void install_files(Installer *in)
{
    if (!in->script->entries[SEC_G])
        return;
    install_status(in, TXT_UNPACKING, NULL);
    PayloadReader reader;
    payload_open(&reader, &in->setup, ask_volume, in);
    if (in->setup.trailer.cabinets)
        install_cabinets(in, &reader);
    else
        install_stored(in, &reader);
    payload_close(&reader);
}

void restore_replaced_files(Installer *in)
{
    for (size_t i = in->backups; i-- > 0;)
        MoveFileExW(in->backup_to[i], in->backup_from[i], MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
}

void drop_replaced_files(Installer *in)
{
    for (size_t i = 0; i < in->backups; i++) {
        DeleteFileW(in->backup_to[i]);
        xfree(in->backup_to[i]);
        xfree(in->backup_from[i]);
    }
    xfree(in->backup_to);
    xfree(in->backup_from);
    in->backups = 0;
}
