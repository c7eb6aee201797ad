/* What the checks before any change found, told to the user or asked about by the kind of
 * run: a run with a window shows the message or asks; a silent run logs it and takes the
 * default answer. */
#ifndef BVQ_STUB_CHECK_PROMPTS_H
#define BVQ_STUB_CHECK_PROMPTS_H

#include "installer.h"

/* Runs the checks in their order (requirements, running application, password); 1 when the
 * installation may go on, else 0 with in->exit_code set. */
int settle_checks(Installer *in, int silent);

#endif
