#include "install_flow.h"
#include "actions.h"
#include "data_block.h"
#include "exit_codes.h"
#include "install_files.h"
#include "install_steps.h"
#include "log.h"
#include "machine_variables.h"
#include "registry.h"
#include "text.h"
#include "ui.h"
#include "undo_system.h"
#include "uninstaller_registration.h"

#include <shlobj.h>

/* The side files' folder inside the work folder. */
#define SIDE_FOLDER L"side"

wchar_t *installer_side_file(const Installer *in, int number)
{
    wchar_t *name = w_fmt(SIDE_FOLDER L"\\%d.tmp", number);
    wchar_t *path = path_join(in->work, name);
    xfree(name);
    return path;
}

void install_prepare(Installer *in)
{
    const Script *s = in->script;
    in->common = script_number(s, FLD_GROUP_COMMON) == GROUP_FOR_ALL_USERS;
    vars_init_machine(&in->vars, s, in->setup.folder);
    vars_set_language(&in->vars, script_value(s, SEC_N, in->language, N_CAPTION));
    vars_read_user(&in->vars, s, registry_text_at, NULL);
    in->install_path = in->opt.folder ? w_dup(in->opt.folder) : vars_expand_a(&in->vars, script_field(s, FLD_INSTALL_PATH));
    path_strip_slash(in->install_path);
    vars_set_install_path(&in->vars, in->install_path);

    wchar_t *group = vars_expand_a(&in->vars, script_field(s, FLD_GROUP));
    in->group_folder = installer_group_folder(in, group);
    if (!in->group_folder)
        in->group_folder = w_dup(L"");
    xfree(group);
}

wchar_t *installer_programs_folder(const Installer *in)
{
    wchar_t buf[MAX_PATH];
    int csidl = in->common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
    return SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, 0, buf) == S_OK ? w_dup(buf) : NULL;
}

wchar_t *installer_group_folder(const Installer *in, const wchar_t *group)
{
    wchar_t *base = installer_programs_folder(in);
    if (base && *group) {
        wchar_t *full = path_join(base, group);
        xfree(base);
        return full;
    }
    return base;
}

static wchar_t *make_work_folder(void)
{
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH)
        return NULL;
    for (unsigned i = 0; i < 1000; i++) {
        wchar_t *p = w_fmt(L"%ls~setup%x-%u", temp, (unsigned)GetCurrentProcessId(), i);
        if (CreateDirectoryW(p, NULL))
            return p;
        xfree(p);
    }
    return NULL;
}

int install_unpack_side_files(Installer *in)
{
    in->work = make_work_folder();
    if (!in->work) {
        log_line(LOG_ERROR, L"No temporary folder could be created.");
        ui_error(L"No temporary folder could be created.");
        return EXIT_FAILED;
    }
    wchar_t *side = path_join(in->work, SIDE_FOLDER);
    CreateDirectoryW(side, NULL);
    int count = 0;
    wchar_t *err = data_block_extract(&in->setup, side, &count);
    xfree(side);
    if (err) {
        log_line(LOG_ERROR, L"%ls", err);
        ui_error(err);
        xfree(err);
        install_clean_up(in);
        return EXIT_DAMAGED;
    }
    log_line(LOG_INFO, L"Side files unpacked: %d", count);
    return EXIT_DONE;
}

static void roll_back(Installer *in)
{
    log_line(LOG_WARN, L"Rolling back the changes made so far.");
    UndoRun run = {0};
    run.undo = undo_on_system;
    journal_undo(&in->journal, &run);
    restore_replaced_files(in);
}

InstallOutcome install_run(Installer *in)
{
    const Script *s = in->script;
    in->total = (unsigned long long)script_number(s, FLD_TOTAL_SOURCE_SIZE);

    run_commands(in, 0);
    if (!make_folders(in->install_path, &in->journal)) {
        log_line(LOG_ERROR, L"The install folder could not be created: %ls", in->install_path);
        in->fatal = 1;
        in->exit_code = EXIT_FAILED;
    }
    if (!in->fatal)
        make_folder_entries(in);
    if (!in->fatal)
        install_files(in);
    if (!in->fatal && in->cancelled)
        in->fatal = 1;
    if (!in->fatal) {
        write_registry(in);
        write_ini(in);
        make_shortcuts(in);
        register_fonts(in);
        register_activex(in);
        run_commands(in, 1);
    }
    if (!in->fatal && script_flag(s, FLD_UNINSTALLER))
        register_uninstaller(in);
    /* The progress window closes first: a rollback shows no progress of its own. */
    ui_progress_hide();
    if (in->fatal) {
        roll_back(in);
        return INSTALL_ROLLED_BACK;
    }
    return log_errors() ? INSTALL_FINISHED_WITH_ERRORS : INSTALL_FINISHED;
}

void install_clean_up(Installer *in)
{
    drop_replaced_files(in);
    if (in->work) {
        folder_delete_tree(in->work);
        xfree(in->work);
        in->work = NULL;
    }
}
