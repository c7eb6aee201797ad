/* Which pages the installer's wizard shows, in which order, with which texts and buttons,
 * and what its finish page offers: all read from the script, the same on every system. */
#ifndef BVQ_STUB_WIZARD_PAGES_H
#define BVQ_STUB_WIZARD_PAGES_H

#include "setup_format.h"

/* The pages in the order in which they can appear. */
typedef enum {
    PAGE_WELCOME,
    PAGE_LICENCE,
    PAGE_INFORMATION,
    PAGE_PASSWORD,
    PAGE_FOLDER,
    PAGE_GROUP,
    PAGE_SHORTCUTS,
    PAGE_READY,
    PAGE_PROGRESS,
    PAGE_FINISH,
    PAGE_COUNT
} WizardPage;

typedef struct {
    WizardPage page[PAGE_COUNT];
    int count;
} WizardPlan;

/* The pages of a run with a window; password_given: /P= gave the password already, so it is
 * not asked. The progress page is always there. */
void wizard_plan(const Script *s, int password_given, WizardPlan *plan);
/* Position of a page in the plan, -1 when it is not shown. */
int wizard_plan_find(const WizardPlan *plan, WizardPage page);

/* The header title and description of a page, as install text roles (install_texts.h). */
typedef struct {
    int title, description;
} WizardPageTexts;
WizardPageTexts wizard_page_texts(WizardPage page);

/* The buttons under the page at a position of the plan. Back goes to the previous page until
 * the installation starts; Next reads "Install" on the last page before the progress, and
 * "Finish" where the wizard ends; Cancel is there until the installation is done. */
typedef struct {
    int back;      /* enabled */
    int next;      /* enabled (a page may disable it further, e.g. until the licence is accepted) */
    int next_text; /* install text role */
    int cancel;    /* enabled */
} WizardButtons;
WizardButtons wizard_buttons(const WizardPlan *plan, int position);

/* The check boxes of the finish page. Restarting the computer excludes the other options: a
 * setup that offers it, or whose files wait for the next restart, offers nothing else. */
enum { FINISH_RUN, FINISH_README, FINISH_WEB, FINISH_RESTART, FINISH_OPTION_COUNT };
typedef struct {
    int offered;
    int ticked;      /* by default */
    int text;        /* install text role of its label */
    const char *what; /* the application, readme or web site (script value); NULL for restart */
} FinishOption;
void wizard_finish_options(const Script *s, int restart_needed, FinishOption options[FINISH_OPTION_COUNT]);

/* The check boxes of the additional shortcuts page, each offered when the setup has shortcuts
 * of its kind. */
typedef struct {
    int desktop, quick_launch;
} WizardShortcutOptions;
WizardShortcutOptions wizard_shortcut_options(const Script *s);

/* The number of the side file that holds the licence (PAGE_LICENCE) or the information text
 * (PAGE_INFORMATION) of a language: its own when it has one, else the one for all languages;
 * 0 for other pages. */
int wizard_text_side_file(const Script *s, size_t language, WizardPage page);

#endif
