#include "wizard_pages.h"
#include "install_texts.h"
#include "text.h"

#include <string.h>

/* The page switches of the script; pages without one depend on other settings. */
static int page_shown(const Script *s, WizardPage page, int password_given)
{
    switch (page) {
    case PAGE_WELCOME:
        return script_flag(s, FLD_WELCOME_PAGE);
    case PAGE_LICENCE:
        return script_flag(s, FLD_LICENCE_PAGE);
    case PAGE_INFORMATION:
        return script_flag(s, FLD_INFO_PAGE);
    case PAGE_PASSWORD:
        return *script_field(s, FLD_PASSWORD) && !password_given;
    case PAGE_FOLDER:
        return script_flag(s, FLD_FOLDER_PAGE);
    case PAGE_GROUP: /* only where shortcuts go into the program group */
        return script_flag(s, FLD_GROUP_PAGE) && script_flag(s, FLD_GROUP_SHORTCUTS);
    case PAGE_SHORTCUTS: {
        WizardShortcutOptions o = wizard_shortcut_options(s);
        return script_flag(s, FLD_SHORTCUTS_PAGE) && (o.desktop || o.quick_launch);
    }
    case PAGE_READY:
        return script_flag(s, FLD_READY_PAGE);
    case PAGE_PROGRESS:
        return 1;
    case PAGE_FINISH:
        return script_flag(s, FLD_FINISH_PAGE);
    case PAGE_COUNT:
        break;
    }
    return 0;
}

void wizard_plan(const Script *s, int password_given, WizardPlan *plan)
{
    plan->count = 0;
    for (int p = 0; p < PAGE_COUNT; p++)
        if (page_shown(s, (WizardPage)p, password_given))
            plan->page[plan->count++] = (WizardPage)p;
}

int wizard_plan_find(const WizardPlan *plan, WizardPage page)
{
    for (int i = 0; i < plan->count; i++)
        if (plan->page[i] == page)
            return i;
    return -1;
}

WizardPageTexts wizard_page_texts(WizardPage page)
{
    static const WizardPageTexts texts[PAGE_COUNT] = {
        [PAGE_WELCOME] = {TXT_WELCOME_TITLE, TXT_WELCOME},
        [PAGE_LICENCE] = {TXT_LICENCE_TITLE, TXT_LICENCE},
        [PAGE_INFORMATION] = {TXT_INFO_TITLE, TXT_INFO},
        [PAGE_PASSWORD] = {TXT_PASSWORD_TITLE, TXT_PASSWORD_PROTECTED},
        [PAGE_FOLDER] = {TXT_FOLDER_TITLE, TXT_FOLDER_QUESTION},
        [PAGE_GROUP] = {TXT_GROUP_TITLE, TXT_GROUP_QUESTION},
        [PAGE_SHORTCUTS] = {TXT_SHORTCUTS_TITLE, TXT_SHORTCUTS_QUESTION},
        [PAGE_READY] = {TXT_READY_TITLE, TXT_READY},
        [PAGE_PROGRESS] = {TXT_INSTALLING_TITLE, TXT_INSTALLING},
        [PAGE_FINISH] = {TXT_FINISH_TITLE, TXT_FINISH},
    };
    WizardPageTexts none = {0, 0};
    return page >= 0 && page < PAGE_COUNT ? texts[page] : none;
}

WizardButtons wizard_buttons(const WizardPlan *plan, int position)
{
    WizardButtons b = {0, 0, TXT_NEXT, 0};
    if (position < 0 || position >= plan->count)
        return b;
    WizardPage page = plan->page[position];
    int last = position == plan->count - 1;
    if (page < PAGE_PROGRESS) {
        b.back = position > 0;
        b.next = 1;
        b.cancel = 1;
        if (plan->page[position + 1] == PAGE_PROGRESS)
            b.next_text = TXT_INSTALL;
    } else if (page == PAGE_PROGRESS) {
        /* Next waits for the end of the installation; Cancel asks and rolls back. */
        b.cancel = 1;
        if (last)
            b.next_text = TXT_FINISH_BUTTON;
    } else {
        b.next = 1;
        b.next_text = TXT_FINISH_BUTTON;
    }
    return b;
}

void wizard_finish_options(const Script *s, int restart_needed, FinishOption options[FINISH_OPTION_COUNT])
{
    static const struct {
        int offer, what, ticked, text;
    } kinds[FINISH_RESTART] = {
        [FINISH_RUN] = {FLD_FINISH_RUN, FLD_RUN_APP, FLD_FINISH_RUN_TICKED, TXT_FINISH_RUN},
        [FINISH_README] = {FLD_FINISH_README, FLD_README, FLD_FINISH_README_TICKED, TXT_FINISH_README},
        [FINISH_WEB] = {FLD_FINISH_WEB, FLD_WEB_SITE, FLD_FINISH_WEB_TICKED, TXT_FINISH_WEB},
    };
    int restart = restart_needed || script_flag(s, FLD_FINISH_RESTART);
    for (int k = 0; k < FINISH_RESTART; k++) {
        const char *what = script_field(s, kinds[k].what);
        FinishOption *o = &options[k];
        o->offered = !restart && script_flag(s, kinds[k].offer) && *what && strcmp(what, SCRIPT_NONE) != 0;
        o->ticked = o->offered && script_flag(s, kinds[k].ticked);
        o->text = kinds[k].text;
        o->what = what;
    }
    /* Files waiting for the restart only take effect then: restarting is proposed. */
    options[FINISH_RESTART].offered = restart;
    options[FINISH_RESTART].ticked = restart_needed;
    options[FINISH_RESTART].text = TXT_FINISH_RESTART;
    options[FINISH_RESTART].what = NULL;
}

WizardShortcutOptions wizard_shortcut_options(const Script *s)
{
    WizardShortcutOptions o = {script_flag(s, FLD_DESKTOP_SHORTCUTS), script_flag(s, FLD_QUICK_LAUNCH_SHORTCUTS)};
    return o;
}

int wizard_text_side_file(const Script *s, size_t language, WizardPage page)
{
    int column = page == PAGE_LICENCE ? N_LICENCE : page == PAGE_INFORMATION ? N_INFO : -1;
    if (column < 0)
        return 0;
    long long own = 0;
    if (language < s->entries[SEC_N] && parse_i64(script_value(s, SEC_N, language, column), &own) && own > 0)
        return (int)own;
    return page == PAGE_LICENCE ? SIDE_FILE_LICENCE_ALL : SIDE_FILE_INFO_ALL;
}
