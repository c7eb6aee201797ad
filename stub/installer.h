/* The installer's state through its run, and the run itself: installer_run opens the setup,
 * settles the checks (check_prompts.h), hands over between the wizard's pages (wizard.h) and
 * the installation (install_flow.h) and returns the exit code. */
#ifndef BVQ_STUB_INSTALLER_H
#define BVQ_STUB_INSTALLER_H

#include "journal.h"
#include "options.h"
#include "setup_file.h"
#include "variables.h"

typedef struct {
    SetupFile setup;
    const Script *script;
    Options opt;
    Variables vars;
    Journal journal;
    size_t language;          /* group of sections N and O in use */
    wchar_t *work;            /* private temporary folder */
    wchar_t *install_path;
    wchar_t *group_folder;    /* program group folder in the start menu */
    int common;               /* shortcuts for all users (field 32) */
    int no_desktop, no_quick_launch; /* the user declined these shortcuts */
    int restart;              /* files wait for the next restart */
    int cancelled;
    int fatal;                /* the run cannot continue: roll back */
    int exit_code;
    unsigned long long total, done;
    /* replaced files kept until the end, for rollback */
    wchar_t **backup_from, **backup_to;
    size_t backups;
} Installer;

int installer_run(Installer *in, const wchar_t *self_path);

/* Texts of the language in use (section O), with the English text when empty. */
wchar_t *installer_text(const Installer *in, int index);

/* The path of a side file of the data block, unpacked into the private temporary folder
 * (install_flow.c). */
wchar_t *installer_side_file(const Installer *in, int number);

/* The Programs folder of the Start menu the shortcuts go in (all users or this user, as
 * the setup says), and a program group's folder in it (the Programs folder itself for an
 * empty name); NULL when the system names no such folder. */
wchar_t *installer_programs_folder(const Installer *in);
wchar_t *installer_group_folder(const Installer *in, const wchar_t *group);

#endif
