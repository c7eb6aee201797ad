/* The built-in variables' values on this machine. */
#include "machine_variables.h"
#include "text.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

static wchar_t *shell_folder(int csidl)
{
    wchar_t buf[MAX_PATH] = {0};
    if (SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK &&
        SHGetFolderPathW(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK)
        return w_dup(L"");
    path_strip_slash(buf);
    return w_dup(buf);
}

void vars_init_machine(Variables *v, const Script *s, const wchar_t *setup_folder)
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n;
    memset(v, 0, sizeof *v);
    vars_take(v, VAR_PROGRAMFILES, shell_folder(CSIDL_PROGRAM_FILES));
    GetWindowsDirectoryW(buf, MAX_PATH);
    path_strip_slash(buf);
    vars_set(v, VAR_WINDOWSDIR, buf);
    GetSystemDirectoryW(buf, MAX_PATH);
    path_strip_slash(buf);
    vars_set(v, VAR_SYSTEMDIR, buf);
    n = GetTempPathW(MAX_PATH, buf);
    if (n == 0 || n > MAX_PATH)
        buf[0] = 0;
    path_strip_slash(buf);
    vars_set(v, VAR_TEMPDIR, buf);
    vars_take(v, VAR_DESKTOP, shell_folder(CSIDL_DESKTOPDIRECTORY));
    wchar_t *appdata = shell_folder(CSIDL_APPDATA);
    vars_take(v, VAR_QUICKLAUNCH, path_join(appdata, L"Microsoft\\Internet Explorer\\Quick Launch"));
    vars_take(v, VAR_PROGRAMSDIR, shell_folder(CSIDL_PROGRAMS));
    vars_take(v, VAR_STARTMENU, shell_folder(CSIDL_STARTMENU));
    vars_take(v, VAR_MYDOCUMENTS, shell_folder(CSIDL_PERSONAL));
    vars_take(v, VAR_FAVORITES, shell_folder(CSIDL_FAVORITES));
    vars_take(v, VAR_SENDTO, shell_folder(CSIDL_SENDTO));
    vars_take(v, VAR_USERPROFILE, shell_folder(CSIDL_PROFILE));
    vars_take(v, VAR_STARTUP, shell_folder(CSIDL_STARTUP));
    vars_take(v, VAR_FONTDIR, shell_folder(CSIDL_FONTS));
    vars_take(v, VAR_COMMONFILES, shell_folder(CSIDL_PROGRAM_FILES_COMMON));
    GetWindowsDirectoryW(buf, MAX_PATH);
    buf[2] = 0; /* "C:" */
    vars_set(v, VAR_SYSTEMDRIVE, buf);
    vars_set(v, VAR_CURRENTDIR, setup_folder);
    vars_set(v, VAR_I, L"1");
    n = MAX_PATH;
    vars_set(v, VAR_USERNAME, GetUserNameW(buf, &n) ? buf : L"");
    n = MAX_PATH;
    vars_set(v, VAR_COMPUTERNAME, GetComputerNameW(buf, &n) ? buf : L"");
    vars_set_product(v, s);
    vars_take(v, VAR_APPDATA, appdata);
    vars_take(v, VAR_COMMONAPPDATA, shell_folder(CSIDL_COMMON_APPDATA));
    vars_take(v, VAR_COMMONDESKTOP, shell_folder(CSIDL_COMMON_DESKTOPDIRECTORY));
    vars_take(v, VAR_COMMONDOCUMENTS, shell_folder(CSIDL_COMMON_DOCUMENTS));
    vars_take(v, VAR_COMMONFAVORITES, shell_folder(CSIDL_COMMON_FAVORITES));
    vars_take(v, VAR_COMMONPROGRAMSDIR, shell_folder(CSIDL_COMMON_PROGRAMS));
    vars_take(v, VAR_COMMONSTARTMENU, shell_folder(CSIDL_COMMON_STARTMENU));
    vars_take(v, VAR_COMMONSTARTUP, shell_folder(CSIDL_COMMON_STARTUP));
    vars_take(v, VAR_TEMPLATES, shell_folder(CSIDL_TEMPLATES));
    vars_take(v, VAR_COMMONTEMPLATES, shell_folder(CSIDL_COMMON_TEMPLATES));
    /* The native program folder of a 64-bit system; the ordinary one elsewhere. */
    n = GetEnvironmentVariableW(L"ProgramW6432", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        path_strip_slash(buf);
        vars_set(v, VAR_PROGRAMFILES64, buf);
    } else {
        vars_set(v, VAR_PROGRAMFILES64, v->value[VAR_PROGRAMFILES]);
    }
}
