/* What the installer checks before it changes anything: the system, the rights, the .NET
 * Framework and the application to close. A check only finds and reports; the window run
 * and the silent run each decide what the user sees or is asked. */
#ifndef BVQ_STUB_INSTALL_CHECKS_H
#define BVQ_STUB_INSTALL_CHECKS_H

#include "installer.h"

/* What a check found wrong. */
typedef enum {
    CHECK_PASSED,
    CHECK_SYSTEM_REFUSED,
    CHECK_ADMIN_REQUIRED,
    CHECK_NET_MISSING,
} CheckResult;

/* The system, the rights and the .NET Framework the setup requires. */
CheckResult check_requirements(const Installer *in);

/* The application the setup closes first: its text, NULL when none is named or it is not
 * running. */
wchar_t *running_application(const Installer *in);

#endif
