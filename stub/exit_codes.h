/* Exit codes of the installer and the uninstaller, for deployment scripts. */
#ifndef BVQ_STUB_EXIT_CODES_H
#define BVQ_STUB_EXIT_CODES_H

#define EXIT_DONE 0             /* everything was installed (or removed) */
#define EXIT_CANCELLED 1        /* the user cancelled; nothing is left behind */
#define EXIT_DAMAGED 2          /* the setup file is damaged, truncated or unreadable */
#define EXIT_REQUIREMENTS 3     /* system, rights, .NET Framework, password or running application */
#define EXIT_FAILED 4           /* installing failed and was rolled back, or some entries failed */
#define EXIT_MISSING_DISK 5     /* a volume of the setup is missing */
#define EXIT_NO_LOG 6           /* uninstaller: no uninstall log found */
#define EXIT_RESTART 3010       /* done, but files are replaced at the next restart */

#endif
