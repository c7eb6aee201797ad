/* The installation steps after the files, one per script section: each logs what it did and
 * records it in the uninstall log; none asks the user anything. */
#ifndef BVQ_STUB_INSTALL_STEPS_H
#define BVQ_STUB_INSTALL_STEPS_H

#include "installer.h"

/* Shows the text of text_index, followed by detail when given, as the progress status. */
void install_status(Installer *in, int text_index, const wchar_t *detail);
/* A script path with its variables substituted; a relative one is taken in the install folder. */
wchar_t *install_expand_path(Installer *in, const char *value);

void run_commands(Installer *in, int after);   /* the commands before (0) or after (1) the files */
void make_folder_entries(Installer *in);
void write_registry(Installer *in);
void write_ini(Installer *in);
void make_shortcuts(Installer *in);
void register_fonts(Installer *in);
void register_activex(Installer *in);

#endif
