/* The installer's wizard window: the pages before the installation, the progress page while
 * it runs, and the finish page. Only runs with a window use it. */
#ifndef BVQ_STUB_WIZARD_H
#define BVQ_STUB_WIZARD_H

#include "installer.h"

/* With several install languages, asks which one to use (the language of the user's system
 * chosen at first) and makes it the one in use; 0 when the user cancelled. */
int wizard_choose_language(Installer *in);

/* Opens the window and leads the user through the pages before the installation; 1 when the
 * user chose to install, 0 when cancelled (the window is then closed). Takes the install
 * folder, program group, password and shortcut choices into the installer. */
int wizard_before(Installer *in);
/* Shows the progress page; ui_status and ui_progress write into it from then on. */
void wizard_progress(Installer *in);
/* After the installation: the finish page when the setup shows one and the installation
 * succeeded, then the chosen finish options; closes the window. */
void wizard_finish(Installer *in, int succeeded);
/* Whether the window is open and its plan ends with the finish page. */
int wizard_shows_finish(void);
/* Whether the window is open. */
int wizard_open(void);

#endif
