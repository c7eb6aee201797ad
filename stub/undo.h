/* Undoing what an uninstall log records: used by the uninstaller, and by the installer to
 * roll back an installation that failed. journal_undo decides which records are undone and
 * in which order; the caller's undo function does what one record means on the system. */
#ifndef BVQ_STUB_UNDO_H
#define BVQ_STUB_UNDO_H

#include "journal.h"

typedef struct UndoRun UndoRun;
struct UndoRun {
    int uninstalling;          /* run commands and the log's deletions (not when rolling back) */
    const wchar_t *keep_file;  /* a file left for the caller (the running uninstaller) */
    /* A step begins: its install text role and English text; 0 stops (only between steps). */
    int (*progress)(void *ctx, int role, const wchar_t *status);
    void *ctx;
    /* Undoes one record; a rollback hands the J_ROLLBACK_ records over as well. */
    void (*undo)(UndoRun *run, const JournalRecord *r);
    int failures;
    int at_restart;            /* files that go at the next restart */
};

void journal_undo(const Journal *j, UndoRun *run);

#endif
