/* The installer's run from the opened setup to its exit code: the language and the window,
 * the checks, then the hand-off between the wizard's pages and the installation itself
 * (install_flow.h), and what the user is told at the end. */
#include "installer.h"
#include "check_prompts.h"
#include "exit_codes.h"
#include "install_flow.h"
#include "install_texts.h"
#include "log.h"
#include "text.h"
#include "ui.h"
#include "wizard.h"

wchar_t *installer_text(const Installer *in, int index)
{
    return install_text(in->script, in->language, index);
}

static void show_text(Installer *in, int index, void (*show)(const wchar_t *))
{
    wchar_t *t = installer_text(in, index);
    show(t);
    xfree(t);
}

/* The progress page of the wizard, or the progress window of a run without it. */
static void show_progress(Installer *in)
{
    if (wizard_open()) {
        wizard_progress(in);
        return;
    }
    wchar_t *title = installer_text(in, TXT_INSTALLING_TITLE), *description = installer_text(in, TXT_INSTALLING);
    wchar_t *cancel = installer_text(in, TXT_CANCEL);
    ui_progress_show(title, description, cancel);
    xfree(title);
    xfree(description);
    xfree(cancel);
}

/* Tells the user how the installation ended (the wizard's finish page tells a success of its
 * own); returns the exit code. */
static int tell_outcome(Installer *in, InstallOutcome outcome)
{
    int code;
    switch (outcome) {
    case INSTALL_ROLLED_BACK:
        code = in->cancelled ? EXIT_CANCELLED : in->exit_code ? in->exit_code : EXIT_FAILED;
        if (!in->cancelled)
            show_text(in, TXT_ROLLED_BACK, ui_error);
        log_line(LOG_ERROR, L"Installation failed (exit code %d).", code);
        break;
    case INSTALL_FINISHED_WITH_ERRORS:
        code = EXIT_FAILED;
        show_text(in, TXT_COMPLETED_WITH_ERRORS, ui_error);
        log_line(LOG_ERROR, L"Installation finished with %d errors.", log_errors());
        break;
    default:
        code = in->restart ? EXIT_RESTART : EXIT_DONE;
        if (!wizard_shows_finish())
            show_text(in, TXT_INSTALLED, ui_info);
        log_line(LOG_INFO, L"Installation finished.");
    }
    return code;
}

/* Opens the window in the language of the installation: the one /L= names or the user
 * chooses; 0 when the user cancelled the choice. */
static int open_window(Installer *in, int silent)
{
    const Script *s = in->script;
    in->language = install_language_choose(s, in->opt.language, GetUserDefaultUILanguage());
    wchar_t *title = vars_expand_a(&in->vars, script_field(s, FLD_TITLE));
    ui_init(silent, *title ? title : L"Setup");
    xfree(title);
    /* /L= chooses without asking, with or without a window. */
    if (!silent && !in->opt.language && !wizard_choose_language(in)) {
        log_line(LOG_INFO, L"Cancelled at the language choice.");
        return 0;
    }
    ui_set_code_page(install_language_code_page(s, in->language));
    return 1;
}

int installer_run(Installer *in, const wchar_t *self_path)
{
    wchar_t *error = setup_open(&in->setup, self_path);
    if (error) {
        log_line(LOG_ERROR, L"%ls", error);
        ui_error(error);
        xfree(error);
        return EXIT_DAMAGED;
    }
    in->script = &in->setup.script;
    const Script *s = in->script;
    int silent = in->opt.silent || script_flag(s, FLD_SILENT);
    if (!open_window(in, silent))
        return EXIT_CANCELLED;

    wchar_t *builder = w_from_ansi(script_field(s, FLD_BUILDER));
    wchar_t *product = w_from_ansi(script_field(s, FLD_PRODUCT));
    log_line(LOG_INFO, L"Setup of %ls (%ls), %ls", product, builder, silent ? L"silent" : L"with window");
    xfree(builder);
    xfree(product);

    install_prepare(in);
    if (!settle_checks(in, silent))
        return in->exit_code;
    int code = install_unpack_side_files(in);
    if (code != EXIT_DONE)
        return code;
    if (!silent && !wizard_before(in)) {
        install_clean_up(in);
        return EXIT_CANCELLED;
    }
    if (!path_is_absolute(in->install_path)) {
        log_line(LOG_ERROR, L"The install folder is not a full path: %ls", in->install_path);
        ui_error(L"The install folder is not a full path.");
        wizard_finish(in, 0);
        install_clean_up(in);
        return EXIT_FAILED;
    }
    log_line(LOG_INFO, L"Install folder: %ls", in->install_path);

    show_progress(in);
    code = tell_outcome(in, install_run(in));
    wizard_finish(in, !in->fatal);
    install_clean_up(in);
    return code;
}
