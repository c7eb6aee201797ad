/* Undoing what an uninstall log records: used by the uninstaller, and by the installer to
 * roll back an installation that failed. */
#ifndef BVQ_STUB_UNDO_H
#define BVQ_STUB_UNDO_H

#include "journal.h"

typedef struct {
    int uninstalling;          /* run commands and the log's deletions (not when rolling back) */
    const wchar_t *keep_file;  /* a file left for the caller (the running uninstaller) */
    int (*progress)(void *ctx, const wchar_t *status); /* 0 stops (only between steps) */
    void *ctx;
    int failures;
    int at_restart;            /* files that go at the next restart */
} UndoRun;

void journal_undo(const Journal *j, UndoRun *run);

/* A folder that removal must never take away (drive roots, system folders). */
int folder_protected(const wchar_t *path);

#endif
