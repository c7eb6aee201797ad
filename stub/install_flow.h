/* The installation in its order: the starting values, the private work folder with the side
 * files, then the steps that change the system (commands, folders, files, registry, INI
 * entries, shortcuts, fonts, components, commands after, the uninstaller) and the rollback
 * when one of them fails or the user cancels. The pages of the wizard and the messages around
 * the run are installer.c's. */
#ifndef BVQ_STUB_INSTALL_FLOW_H
#define BVQ_STUB_INSTALL_FLOW_H

#include "installer.h"

/* The variables, the install folder and the program group folder, from the machine, the
 * script and the command line: what the checks and the wizard start from. */
void install_prepare(Installer *in);

/* Makes the private work folder and unpacks the side files into it; EXIT_DONE, else the exit
 * code after the reason was told. */
int install_unpack_side_files(Installer *in);

typedef enum {
    INSTALL_FINISHED,
    INSTALL_FINISHED_WITH_ERRORS, /* some entries failed; what was done stays */
    INSTALL_ROLLED_BACK,          /* failed or cancelled: every change undone */
} InstallOutcome;

/* Runs the steps while the progress is shown, closes the progress window and rolls back when
 * the run cannot go on (in->fatal). */
InstallOutcome install_run(Installer *in);

/* The end of every run that made the work folder: the kept copies of replaced files and the
 * work folder are deleted. */
void install_clean_up(Installer *in);

#endif
