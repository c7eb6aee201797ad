#include "check_prompts.h"
#include "actions.h"
#include "exit_codes.h"
#include "install_checks.h"
#include "install_texts.h"
#include "log.h"
#include "text.h"
#include "ui.h"

#include <shellapi.h>
#include <string.h>

static int refuse(Installer *in, int text_index, const wchar_t *extra, const wchar_t *log_text)
{
    wchar_t *t = installer_text(in, text_index);
    wchar_t *msg = extra ? w_cat3(t, L"\n", extra) : w_dup(t);
    log_line(LOG_ERROR, L"%ls", log_text);
    ui_error(msg);
    xfree(msg);
    xfree(t);
    in->exit_code = EXIT_REQUIREMENTS;
    return 0;
}

/* Tells what a check found wrong; 1 when it found nothing. */
static int tell(Installer *in, CheckResult found, int silent)
{
    const Script *s = in->script;
    switch (found) {
    case CHECK_SYSTEM_REFUSED: {
        wchar_t *systems = w_from_ansi(script_field(s, FLD_SYSTEMS_TEXT));
        refuse(in, TXT_SYSTEM_REFUSED, systems, L"This version of Windows is not supported by the installation.");
        xfree(systems);
        return 0;
    }
    case CHECK_ADMIN_REQUIRED:
        return refuse(in, TXT_ADMIN_REQUIRED, NULL, L"Administrator rights are required.");
    case CHECK_NET_MISSING: {
        const char *page = script_field(s, FLD_NET_PAGE);
        refuse(in, TXT_NET_MISSING, NULL, L"The required .NET Framework is not installed.");
        if (!silent && strcmp(page, SCRIPT_NONE) != 0 && *page) {
            wchar_t *url = vars_expand_a(&in->vars, page);
            ShellExecuteW(NULL, L"open", url, NULL, NULL, SW_SHOWNORMAL);
            xfree(url);
        }
        return 0;
    }
    case CHECK_PASSWORD_WRONG:
        return refuse(in, TXT_PASSWORD_WRONG, NULL, L"The password given on the command line is wrong.");
    case CHECK_PASSWORD_MISSING:
        return refuse(in, TXT_PASSWORD_PROTECTED, NULL, L"The installation is protected by a password; give it with /P=.");
    case CHECK_PASSED:
        break;
    }
    return 1;
}

/* Closes the running application: a silent run closes it without asking and fails when it
 * stays; otherwise the user is asked each time it is still there. */
static int close_running_application(Installer *in, int silent)
{
    int match = (int)script_number(in->script, FLD_APP_MATCH);
    wchar_t *app;
    while ((app = running_application(in)) != NULL) {
        if (!silent) {
            wchar_t *t = installer_text(in, TXT_APP_RUNNING);
            int go = ui_ask(t, 1);
            xfree(t);
            if (!go) {
                xfree(app);
                in->exit_code = EXIT_CANCELLED;
                return 0;
            }
        }
        log_line(LOG_INFO, L"Closing the running application: %ls", app);
        int closed = application_close(match, app, 10000);
        xfree(app);
        if (!closed && silent)
            return refuse(in, TXT_APP_NOT_CLOSED, NULL, L"The running application could not be closed.");
    }
    return 1;
}

int settle_checks(Installer *in, int silent)
{
    return tell(in, check_requirements(in), silent) && close_running_application(in, silent) &&
           tell(in, password_check(in->script, in->opt.password, silent), silent);
}
