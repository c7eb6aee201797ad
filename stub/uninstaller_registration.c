#include "uninstaller_registration.h"
#include "actions.h"
#include "install_steps.h"
#include "install_texts.h"
#include "log.h"
#include "programs_entry.h"
#include "text.h"

/* The texts the uninstaller shows, which the uninstall log carries. */
static const int UNINSTALLER_TEXTS[] = {TXT_UNINSTALL_QUESTION,  TXT_UNINSTALL,          TXT_UNINSTALLING,
                                        TXT_UNINSTALLED,         TXT_UNINSTALL_LEFTOVERS, TXT_UNINSTALL_APP_RUNNING,
                                        TXT_CANCEL,              TXT_CANCEL_QUESTION,    TXT_REMOVING_SHORTCUTS,
                                        TXT_REMOVING_FILES,      TXT_REMOVING_REGISTRY,  TXT_RUNNING_UNINSTALL_COMMANDS};

/* How the uninstaller looks and speaks: its product name and title, the language of the
 * installation with its texts, the application it closes, the page it opens at the end. */
static void record_uninstaller_looks(Installer *in, const wchar_t *product)
{
    const Script *s = in->script;
    wchar_t *title = vars_expand_a(&in->vars, script_field(s, FLD_UN_TITLE));
    journal_add(&in->journal, J_PRODUCT, 1, product);
    journal_add(&in->journal, J_TITLE, 1, title);
    xfree(title);
    wchar_t *code_page = w_fmt(L"%u", install_language_code_page(s, in->language));
    journal_add(&in->journal, J_LANGUAGE, 1, code_page);
    xfree(code_page);
    for (size_t i = 0; i < sizeof UNINSTALLER_TEXTS / sizeof UNINSTALLER_TEXTS[0]; i++) {
        wchar_t *role = w_fmt(L"%d", UNINSTALLER_TEXTS[i]), *t = installer_text(in, UNINSTALLER_TEXTS[i]);
        journal_add(&in->journal, J_TEXT, 2, role, t);
        xfree(role);
        xfree(t);
    }
    if (script_flag(s, FLD_UN_CLOSE_APP)) {
        wchar_t *match = w_from_ansi(script_field(s, FLD_UN_APP_MATCH));
        wchar_t *app = vars_expand_a(&in->vars, script_field(s, FLD_UN_APP_TEXT));
        journal_add(&in->journal, J_CLOSE_APP, 2, match, app);
        xfree(match);
        xfree(app);
    }
    if (script_flag(s, FLD_UN_OPEN_PAGE)) {
        wchar_t *page = vars_expand_a(&in->vars, script_field(s, FLD_UN_PAGE));
        journal_add(&in->journal, J_WEB_PAGE, 1, page);
        xfree(page);
    }
}

/* What the uninstaller does besides undoing the installation: its commands (section J), its
 * deletions (L) and its registry deletions (D). */
static void record_uninstaller_work(Installer *in)
{
    const Script *s = in->script;
    _Static_assert(CMD_COLUMNS == 6, "a command's record passes its six columns one by one");
    for (size_t i = 0; i < s->entries[SEC_J]; i++) {
        wchar_t *v[CMD_COLUMNS];
        for (int k = 0; k < CMD_COLUMNS; k++)
            v[k] = k == CMD_COMMAND || k == CMD_PARAMS ? vars_expand_a(&in->vars, script_value(s, SEC_J, i, k))
                                                       : w_from_ansi(script_value(s, SEC_J, i, k));
        journal_add(&in->journal, J_COMMAND, CMD_COLUMNS, v[0], v[1], v[2], v[3], v[4], v[5]);
        for (int k = 0; k < CMD_COLUMNS; k++)
            xfree(v[k]);
    }
    for (size_t i = 0; i < s->entries[SEC_L]; i++) {
        wchar_t *kind = w_from_ansi(script_value(s, SEC_L, i, L_KIND));
        wchar_t *path = install_expand_path(in, script_value(s, SEC_L, i, L_PATH));
        journal_add(&in->journal, J_DELETE, 2, kind, path);
        xfree(kind);
        xfree(path);
    }
    for (size_t i = 0; i < s->entries[SEC_D]; i++) {
        wchar_t *root = w_from_ansi(script_value(s, SEC_D, i, D_ROOT));
        wchar_t *subkey = vars_expand_a(&in->vars, script_value(s, SEC_D, i, D_SUBKEY));
        wchar_t *name = vars_expand_a(&in->vars, script_value(s, SEC_D, i, D_NAME));
        journal_add(&in->journal, J_REG_DELETE, 3, root, subkey, name);
        xfree(root);
        xfree(subkey);
        xfree(name);
    }
}

void register_uninstaller(Installer *in)
{
    const Script *s = in->script;
    install_status(in, TXT_CREATING_UNINSTALLER, NULL);
    wchar_t *uninstaller = install_expand_path(in, script_field(s, FLD_UNINSTALL_FILE));
    wchar_t *log_path = install_expand_path(in, script_field(s, FLD_UNINSTALL_LOG));
    wchar_t *product = vars_expand_a(&in->vars, script_field(s, FLD_UNINSTALL_NAME));
    record_uninstaller_looks(in, product);
    record_uninstaller_work(in);
    write_programs_entry(in, product, uninstaller, log_path);
    xfree(product);
    xfree(uninstaller);

    wchar_t *folder = path_folder(log_path);
    make_folders(folder, &in->journal);
    xfree(folder);
    journal_add(&in->journal, J_FILE, 1, log_path);
    if (!journal_save(&in->journal, log_path)) {
        log_line(LOG_ERROR, L"The uninstall log could not be written: %ls", log_path);
        journal_pop(&in->journal); /* the log itself: whatever is at its place is not ours */
        in->fatal = 1;
    }
    xfree(log_path);
}
