/* The program's command line, split into arguments as the system splits it. */
#include "options.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

void options_parse_command_line(Options *o, const wchar_t *command_line)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(command_line, &argc);
    if (!argv) {
        memset(o, 0, sizeof *o);
        return;
    }
    options_parse_args(o, argc, argv);
    LocalFree(argv);
}
