/* The system changes an installation makes and undoes: folders, files, registry values, INI
 * entries, shortcuts, fonts, ActiveX registration, commands and running applications. */
#ifndef BVQ_STUB_ACTIONS_H
#define BVQ_STUB_ACTIONS_H

#include "journal.h"

#include "registry.h"

#include <windows.h>

/* Creates folder and its missing parents, recording each created one (journal may be NULL). */
int make_folders(const wchar_t *folder, Journal *journal);

/* What registry_write and ini_write did. */
typedef enum {
    WRITE_FAILED,
    WRITE_DONE,
    WRITE_KEPT, /* it exists and is not overwritten */
} WriteResult;

/* Registry value of type REGTYPE_*: data as the script gives it (text, hexadecimal bytes,
 * decimal number).
 * The journal gets the created keys and the value (for the uninstaller when `uninstall`,
 * otherwise for a rollback only) and, before an existing value is overwritten, its old
 * type and data, so that a rollback puts it back. */
WriteResult registry_write(const wchar_t *root_number, const wchar_t *subkey, const wchar_t *name, int type,
                           const wchar_t *data, int overwrite, int uninstall, Journal *journal);
/* Writes back a value recorded by J_REG_OLD. */
int registry_restore(const wchar_t *root_number, const wchar_t *subkey, const wchar_t *name,
                     const wchar_t *type_number, const wchar_t *hex_data);
int registry_delete_value(HKEY root, const wchar_t *subkey, const wchar_t *name);
int registry_delete_key_if_empty(HKEY root, const wchar_t *subkey);
int registry_delete_tree(HKEY root, const wchar_t *subkey);

/* Journals like registry_write: the entry (and a new
 * file) for the uninstaller when `uninstall`, otherwise for a rollback only, and the old value
 * of an entry it overwrites. */
WriteResult ini_write(const wchar_t *file, const wchar_t *section, const wchar_t *key, const wchar_t *value,
                      int overwrite, int uninstall, Journal *journal);
int ini_delete(const wchar_t *file, const wchar_t *section, const wchar_t *key);

int shortcut_create(const wchar_t *lnk, const wchar_t *target, const wchar_t *params,
                    const wchar_t *comment, const wchar_t *icon_file, int icon_index,
                    const wchar_t *work_folder);

/* Registers an installed font file under its name; the value name used is returned. */
wchar_t *font_register(const wchar_t *name, const wchar_t *file, const wchar_t *font_folder);
int font_unregister(const wchar_t *value_name, const wchar_t *file);

int activex_register(const wchar_t *file, int unregister);

/* type COMMAND_PROGRAM: started directly, COMMAND_SHELL: through the shell; show is a
 * show-window value. */
int command_run(int type, const wchar_t *command, const wchar_t *params, int show, int wait,
                DWORD *exit_code);

/* How an application to close is found: an APP_MATCH_ value (exact window title, part of it,
 * file name). */
int application_running(int match, const wchar_t *text);
int application_close(int match, const wchar_t *text, DWORD timeout_ms);

/* Deletes a file, clearing a read-only attribute; a file in use is removed at restart. */
int file_delete(const wchar_t *path, int *at_restart);
int folder_delete_tree(const wchar_t *path);

/* The process runs with administrator rights. */
int running_as_admin(void);

#endif
