/* What the installer checks before it changes anything: the system, the rights, the .NET
 * Framework and the application to close (the password is decided in install_decisions.h). A
 * check only finds and reports; check_prompts.h tells the user or asks, by the kind of run. */
#ifndef BVQ_STUB_INSTALL_CHECKS_H
#define BVQ_STUB_INSTALL_CHECKS_H

#include "install_decisions.h"
#include "installer.h"

/* The system, the rights and the .NET Framework the setup requires. */
CheckResult check_requirements(const Installer *in);

/* The application the setup closes first: its text, NULL when none is named or it is not
 * running. */
wchar_t *running_application(const Installer *in);

#endif
