/* Command-line switches of both programs:
 *   /S          silent: no window, every question answered with its default
 *   /D=folder   install folder (the rest of the command line, so it may hold blanks)
 *   /LOG=file   log file (silent runs log to the temporary folder when it is not given)
 *   /P=text     installation password (for silent runs of protected setups)
 *   /L=id       install language by its identifier
 * Switches are matched without regard to case. */
#ifndef BVQ_STUB_OPTIONS_H
#define BVQ_STUB_OPTIONS_H

#include <wchar.h>

typedef struct {
    int silent;
    wchar_t *folder;
    wchar_t *log;
    wchar_t *password;
    wchar_t *language;
    wchar_t *origin;          /* uninstaller: the original file a temporary copy works for */
    unsigned long long parent; /* uninstaller: handle of the original process, waited for
                                  before deleting it */
    unsigned long long report; /* uninstaller: handle of the pipe for the exit code to the
                                  original process */
} Options;

/* The switches of argv[1..argc) (argv[0] is the program). */
void options_parse_args(Options *o, int argc, wchar_t **argv);
/* Windows: the program's command line, split into arguments as the system does
 * (command_line.c). */
void options_parse_command_line(Options *o, const wchar_t *command_line);
void options_free(Options *o);

#endif
