/* The packed files (section G): each is written beside its destination and moved into place,
 * from the stored records or the cabinet chain, across the volumes. A file it replaces is kept
 * aside until the run ends, so that a rollback can give it back. */
#ifndef BVQ_STUB_INSTALL_FILES_H
#define BVQ_STUB_INSTALL_FILES_H

#include "installer.h"

/* Unpacks every packed file; a failure or a cancel sets in->fatal (and in->exit_code when the
 * reason has one of its own). */
void install_files(Installer *in);
/* Rollback: the replaced files go back to their places. */
void restore_replaced_files(Installer *in);
/* The end of the run: the kept copies of the replaced files are deleted and forgotten. */
void drop_replaced_files(Installer *in);

#endif
