#include "install_steps.h"
#include "actions.h"
#include "install_texts.h"
#include "log.h"
#include "registry.h"
#include "text.h"
#include "ui.h"

#include <objbase.h>
#include <shlobj.h>
#include <string.h>

void install_status(Installer *in, int text_index, const wchar_t *detail)
{
    wchar_t *t = installer_text(in, text_index);
    wchar_t *line = detail ? w_cat3(t, L" ", detail) : w_dup(t);
    ui_status(line);
    xfree(line);
    xfree(t);
}

wchar_t *install_expand_path(Installer *in, const char *value)
{
    wchar_t *p = vars_expand_a(&in->vars, value);
    if (*p && !path_is_absolute(p)) {
        wchar_t *abs = path_join(in->install_path, p);
        xfree(p);
        p = abs;
    }
    return p;
}

void run_commands(Installer *in, int after)
{
    const Script *s = in->script;
    for (size_t i = 0; i < s->entries[SEC_I]; i++) {
        if ((strcmp(script_value(s, SEC_I, i, CMD_WHEN), COMMAND_AFTER) == 0) != after)
            continue;
        install_status(in, TXT_RUNNING_COMMANDS, NULL);
        wchar_t *cmd = vars_expand_a(&in->vars, script_value(s, SEC_I, i, CMD_COMMAND));
        wchar_t *params = vars_expand_a(&in->vars, script_value(s, SEC_I, i, CMD_PARAMS));
        long long type = COMMAND_PROGRAM, show = 1;
        parse_i64(script_value(s, SEC_I, i, CMD_TYPE), &type);
        parse_i64(script_value(s, SEC_I, i, CMD_SHOW), &show);
        DWORD code = 0;
        if (command_run((int)type, cmd, params, (int)show, script_yes(script_value(s, SEC_I, i, CMD_WAIT)), &code))
            log_line(LOG_INFO, L"Command run: %ls %ls (exit code %u)", cmd, params, (unsigned)code);
        else
            log_line(LOG_ERROR, L"Command could not be started: %ls (error %u)", cmd, (unsigned)GetLastError());
        xfree(cmd);
        xfree(params);
    }
}

void make_folder_entries(Installer *in)
{
    const Script *s = in->script;
    for (size_t i = 0; i < s->entries[SEC_H]; i++) {
        wchar_t *path = install_expand_path(in, script_value(s, SEC_H, i, H_PATH));
        Journal scratch = {0};
        int uninstall = script_yes(script_value(s, SEC_H, i, H_UNINSTALL));
        if (make_folders(path, uninstall ? &in->journal : &scratch))
            log_line(LOG_INFO, L"Folder: %ls", path);
        else
            log_line(LOG_ERROR, L"Folder could not be created: %ls", path);
        journal_free(&scratch);
        xfree(path);
    }
}

void write_registry(Installer *in)
{
    const Script *s = in->script;
    int associations = 0;
    for (size_t i = 0; i < s->entries[SEC_C]; i++) {
        install_status(in, TXT_WRITING_REGISTRY, NULL);
        wchar_t *root = w_from_ansi(script_value(s, SEC_C, i, C_ROOT));
        wchar_t *subkey = vars_expand_a(&in->vars, script_value(s, SEC_C, i, C_SUBKEY));
        wchar_t *name = vars_expand_a(&in->vars, script_value(s, SEC_C, i, C_NAME));
        wchar_t *data = vars_expand_a(&in->vars, script_value(s, SEC_C, i, C_DATA));
        long long type = -1;
        parse_i64(script_value(s, SEC_C, i, C_TYPE), &type);
        int uninstall = script_yes(script_value(s, SEC_C, i, C_UNINSTALL));
        int overwrite = script_yes(script_value(s, SEC_C, i, C_OVERWRITE));
        WriteResult r = registry_write(root, subkey, name, (int)type, data, overwrite, uninstall, &in->journal);
        if (r == WRITE_FAILED)
            log_line(LOG_ERROR, L"Registry value could not be written: %ls\\%ls", subkey, name);
        else
            log_line(LOG_INFO, r == WRITE_KEPT ? L"Registry value kept: %ls\\%ls" : L"Registry value: %ls\\%ls",
                     subkey, name);
        if (r == WRITE_DONE && root_from_number(root) == HKEY_CLASSES_ROOT)
            associations = 1;
        xfree(root);
        xfree(subkey);
        xfree(name);
        xfree(data);
    }
    if (associations)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, NULL, NULL);
}

void write_ini(Installer *in)
{
    const Script *s = in->script;
    for (size_t i = 0; i < s->entries[SEC_K]; i++) {
        install_status(in, TXT_WRITING_INI, NULL);
        wchar_t *file = install_expand_path(in, script_value(s, SEC_K, i, K_FILE));
        wchar_t *section = vars_expand_a(&in->vars, script_value(s, SEC_K, i, K_SECTION));
        wchar_t *key = vars_expand_a(&in->vars, script_value(s, SEC_K, i, K_KEY));
        wchar_t *value = vars_expand_a(&in->vars, script_value(s, SEC_K, i, K_VALUE));
        int uninstall = script_yes(script_value(s, SEC_K, i, K_UNINSTALL));
        int overwrite = script_yes(script_value(s, SEC_K, i, K_OVERWRITE));
        WriteResult r = ini_write(file, section, key, value, overwrite, uninstall, &in->journal);
        if (r == WRITE_FAILED)
            log_line(LOG_ERROR, L"INI entry could not be written: %ls [%ls] %ls", file, section, key);
        else
            log_line(LOG_INFO, L"INI entry: %ls [%ls] %ls", file, section, key);
        xfree(file);
        xfree(section);
        xfree(key);
        xfree(value);
    }
}

static wchar_t *shortcut_folder(Installer *in, int place)
{
    switch (place) {
    case PLACE_START_MENU: {
        wchar_t buf[MAX_PATH];
        if (SHGetFolderPathW(NULL, (in->common ? CSIDL_COMMON_STARTMENU : CSIDL_STARTMENU) | CSIDL_FLAG_CREATE, NULL, 0, buf) != S_OK)
            return NULL;
        return w_dup(buf);
    }
    case PLACE_GROUP:
        return w_dup(in->group_folder);
    case PLACE_QUICK_LAUNCH:
        return w_dup(in->vars.value[VAR_QUICKLAUNCH]);
    case PLACE_PATH:
        return w_dup(L"");
    default: {
        wchar_t buf[MAX_PATH];
        int csidl = in->common ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY;
        if (SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, 0, buf) != S_OK)
            return NULL;
        return w_dup(buf);
    }
    }
}

void make_shortcuts(Installer *in)
{
    const Script *s = in->script;
    if (!s->entries[SEC_F])
        return;
    install_status(in, TXT_CREATING_SHORTCUTS, NULL);
    HRESULT com = CoInitialize(NULL);
    for (size_t i = 0; i < s->entries[SEC_F]; i++) {
        long long place = PLACE_DESKTOP;
        parse_i64(script_value(s, SEC_F, i, F_PLACE), &place);
        if ((place == PLACE_DESKTOP && in->no_desktop) || (place == PLACE_QUICK_LAUNCH && in->no_quick_launch))
            continue;
        wchar_t *folder = shortcut_folder(in, (int)place);
        wchar_t *name = vars_expand_a(&in->vars, script_value(s, SEC_F, i, F_NAME));
        wchar_t *lnk = !folder ? NULL : place == PLACE_PATH ? w_dup(name) : path_join(folder, name);
        wchar_t *target = install_expand_path(in, script_value(s, SEC_F, i, F_TARGET));
        wchar_t *params = vars_expand_a(&in->vars, script_value(s, SEC_F, i, F_PARAMS));
        wchar_t *comment = vars_expand_a(&in->vars, script_value(s, SEC_F, i, F_COMMENT));
        wchar_t *icon = vars_expand_a(&in->vars, script_value(s, SEC_F, i, F_ICON_FILE));
        wchar_t *work = vars_expand_a(&in->vars, script_value(s, SEC_F, i, F_FOLDER));
        long long index = 0;
        parse_i64(script_value(s, SEC_F, i, F_ICON_INDEX), &index);
        int ok = 0;
        if (lnk && path_is_absolute(lnk)) {
            wchar_t *lnk_folder = path_folder(lnk);
            ok = make_folders(lnk_folder, &in->journal) &&
                 shortcut_create(lnk, target, params, comment, icon, (int)index, work);
            xfree(lnk_folder);
        }
        if (ok) {
            journal_add(&in->journal, J_SHORTCUT, 1, lnk);
            log_line(LOG_INFO, L"Shortcut: %ls", lnk);
        } else {
            log_line(LOG_ERROR, L"Shortcut could not be created: %ls", lnk ? lnk : name);
        }
        xfree(folder);
        xfree(name);
        xfree(lnk);
        xfree(target);
        xfree(params);
        xfree(comment);
        xfree(icon);
        xfree(work);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

void register_fonts(Installer *in)
{
    const Script *s = in->script;
    for (size_t i = 0; i < s->entries[SEC_E]; i++) {
        install_status(in, TXT_REGISTERING_FONTS, NULL);
        wchar_t *name = vars_expand_a(&in->vars, script_value(s, SEC_E, i, E_NAME));
        wchar_t *file = install_expand_path(in, script_value(s, SEC_E, i, E_FILE));
        wchar_t *value = font_register(name, file, in->vars.value[VAR_FONTDIR]);
        if (value) {
            journal_add(&in->journal, J_FONT, 2, value, file);
            log_line(LOG_INFO, L"Font: %ls", value);
        } else {
            log_line(LOG_ERROR, L"Font could not be registered: %ls (%ls)", name, file);
        }
        xfree(value);
        xfree(name);
        xfree(file);
    }
}

void register_activex(Installer *in)
{
    const Script *s = in->script;
    for (size_t i = 0; i < s->entries[SEC_M]; i++) {
        install_status(in, TXT_REGISTERING_COMPONENTS, NULL);
        wchar_t *file = install_expand_path(in, script_value(s, SEC_M, i, M_FILE));
        HRESULT com = CoInitialize(NULL);
        int ok = activex_register(file, 0);
        if (SUCCEEDED(com))
            CoUninitialize();
        if (ok) {
            if (script_yes(script_value(s, SEC_M, i, M_UNREGISTER)))
                journal_add(&in->journal, J_ACTIVEX, 1, file);
            log_line(LOG_INFO, L"Component registered: %ls", file);
        } else {
            log_line(LOG_ERROR, L"Component could not be registered: %ls", file);
        }
        xfree(file);
    }
}
