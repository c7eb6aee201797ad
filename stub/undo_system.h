/* Undoing records of the uninstall log on this system (the undo function of UndoRun), and
 * the folders that removal never takes away. */
#ifndef BVQ_STUB_UNDO_SYSTEM_H
#define BVQ_STUB_UNDO_SYSTEM_H

#include "undo.h"

void undo_on_system(UndoRun *run, const JournalRecord *r);

/* A folder that removal must never take away (drive roots, system folders). */
int folder_protected(const wchar_t *path);

#endif
