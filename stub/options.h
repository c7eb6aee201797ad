/* Command-line switches of both programs:
 *   /S          silent: no window, every question answered with its default
 *   /D=folder   install folder (the rest of the command line, so it may hold blanks)
 *   /LOG=file   log file (silent runs log to the temporary folder when it is not given)
 *   /P=text     installation password (for silent runs of protected setups)
 *   /L=id       install language by its identifier
 * Switches are matched without regard to case. */
#ifndef BVQ_STUB_OPTIONS_H
#define BVQ_STUB_OPTIONS_H

#include <windows.h>

typedef struct {
    int silent;
    wchar_t *folder;
    wchar_t *log;
    wchar_t *password;
    wchar_t *language;
    wchar_t *origin;   /* uninstaller: the original file a temporary copy works for */
    HANDLE parent;     /* uninstaller: the original process, waited for before deleting it */
    HANDLE report;     /* uninstaller: pipe for the exit code to the original process */
} Options;

void options_parse(Options *o, const wchar_t *command_line);

#endif
