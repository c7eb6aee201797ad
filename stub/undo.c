#include "undo.h"
#include "install_texts.h"
#include "setup_format.h"
#include "text.h"

static int step(UndoRun *run, int role)
{
    return !run->progress || run->progress(run->ctx, role, install_text_default(role));
}

static const wchar_t *field(const JournalRecord *r, int i)
{
    return i < r->count ? r->field[i] : L"";
}

/* The uninstaller's commands of one moment (before or after removal), in their order. */
static void run_commands(const Journal *j, UndoRun *run, int after)
{
    for (size_t i = 0; i < j->count; i++) {
        const JournalRecord *r = &j->items[i];
        if (r->tag == J_COMMAND && (wcscmp(field(r, CMD_WHEN), L"" COMMAND_AFTER) == 0) == after)
            run->undo(run, r);
    }
}

static int in_phase(wchar_t tag, const wchar_t *tags)
{
    return tag != 0 && wcschr(tags, tag) != NULL;
}

/* Undoes the records with one of the tags, the last one first. */
static void backwards(const Journal *j, UndoRun *run, const wchar_t *tags, const wchar_t *rollback_tags)
{
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = &j->items[i];
        if (in_phase(r->tag, tags) || (!run->uninstalling && in_phase(r->tag, rollback_tags)))
            run->undo(run, r);
    }
}

static int kept(const UndoRun *run, const JournalRecord *r)
{
    return run->keep_file && (r->tag == J_FILE || r->tag == J_ROLLBACK_FILE) && w_ieq(field(r, 0), run->keep_file);
}

void journal_undo(const Journal *j, UndoRun *run)
{
    static const wchar_t components[] = {J_ACTIVEX, J_FONT, 0};
    static const wchar_t shortcuts[] = {J_SHORTCUT, 0};
    /* A rollback also undoes what the uninstaller would keep, and puts overwritten values
     * back (their old value was recorded just before the new one, so it comes after it
     * in this backward walk). */
    static const wchar_t settings[] = {J_INI, J_REG_VALUE, J_REG_KEY, 0};
    static const wchar_t rollback_settings[] = {J_ROLLBACK_INI, J_INI_OLD, J_ROLLBACK_REG_VALUE,
                                                J_ROLLBACK_REG_KEY, J_REG_OLD, 0};
    static const wchar_t folders[] = {J_FOLDER, 0};

    if (run->uninstalling) {
        if (!step(run, TXT_RUNNING_UNINSTALL_COMMANDS))
            return;
        run_commands(j, run, 0);
    }
    backwards(j, run, components, L"");
    step(run, TXT_REMOVING_SHORTCUTS);
    backwards(j, run, shortcuts, L"");
    step(run, TXT_REMOVING_REGISTRY);
    backwards(j, run, settings, rollback_settings);
    step(run, TXT_REMOVING_FILES);
    for (size_t i = j->count; i-- > 0;) {
        const JournalRecord *r = &j->items[i];
        const int file = r->tag == J_FILE || (!run->uninstalling && r->tag == J_ROLLBACK_FILE);
        if (file && !kept(run, r))
            run->undo(run, r);
    }
    if (run->uninstalling)
        for (size_t i = 0; i < j->count; i++)
            if (j->items[i].tag == J_DELETE || j->items[i].tag == J_REG_DELETE)
                run->undo(run, &j->items[i]);
    backwards(j, run, folders, L"");
    if (run->uninstalling)
        run_commands(j, run, 1);
    for (size_t i = 0; i < j->count; i++)
        if (j->items[i].tag == J_PROGRAMS)
            run->undo(run, &j->items[i]);
}
