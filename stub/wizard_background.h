/* The window that covers the screen behind the wizard when the setup asks for it: a gradient
 * or a picture, with the title and company texts. */
#ifndef BVQ_STUB_WIZARD_BACKGROUND_H
#define BVQ_STUB_WIZARD_BACKGROUND_H

#include "installer.h"

#include <windows.h>

/* Shows the background window; NULL when the setup has none. The wizard's window is then
 * owned by it, so it stays in front. */
HWND wizard_background_open(Installer *in);
void wizard_background_close(HWND background);

#endif
