/* What the installer leaves for the uninstaller: the uninstall log, with the uninstaller's
 * title, language and texts, its commands and deletions before the records of what was
 * installed, and the entry of the installed-programs list that starts it. */
#ifndef BVQ_STUB_UNINSTALLER_REGISTRATION_H
#define BVQ_STUB_UNINSTALLER_REGISTRATION_H

#include "installer.h"

/* Records the uninstaller's part, writes the installed-programs entry and saves the log; sets
 * in->fatal when the log cannot be written. */
void register_uninstaller(Installer *in);

#endif
