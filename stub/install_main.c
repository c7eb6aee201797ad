/* The installer: a setup file is this program with the installation appended. */
#include "exit_codes.h"
#include "installer.h"
#include "log.h"
#include "text.h"

#include <windows.h>

#include <string.h>

static wchar_t *module_path(void)
{
    DWORD cap = MAX_PATH;
    for (;;) {
        wchar_t *p = xalloc(cap * sizeof(wchar_t));
        DWORD n = GetModuleFileNameW(NULL, p, cap);
        if (n > 0 && n < cap)
            return p;
        xfree(p);
        if (n == 0)
            return NULL;
        cap *= 2;
    }
}

/* The process starts here: the program needs none of the C run-time start-up (no arguments
 * array, constructors or thread-local data), so the linker is told to enter it directly. */
__attribute__((force_align_arg_pointer, externally_visible)) void WINAPI program_start(void)
{
    Installer in;
    memset(&in, 0, sizeof in);
    options_parse_command_line(&in.opt, GetCommandLineW());
    wchar_t *self = module_path();
    if (in.opt.log) {
        log_open(in.opt.log);
    } else if (in.opt.silent && self) {
        wchar_t temp[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH, temp);
        if (n > 0 && n <= MAX_PATH) {
            wchar_t *base = w_dup(path_name(self));
            wchar_t *dot = wcsrchr(base, L'.');
            if (dot)
                *dot = 0;
            wchar_t *log = w_fmt(L"%ls%ls-install.log", temp, base);
            log_open(log);
            xfree(log);
            xfree(base);
        }
    }
    int code = self ? installer_run(&in, self) : EXIT_DAMAGED;
    log_close();
    ExitProcess((UINT)code);
}
