/* The built-in variables' values on this machine. */
#include "machine_variables.h"
#include "text.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

/* Where a built-in variable's value comes from. */
enum MachineSource {
    SHELL_FOLDER,          /* the shell's folder of the CSIDL */
    QUICK_LAUNCH_FOLDER,   /* the quick-launch bar's folder below the user's application data */
    WINDOWS_FOLDER,
    SYSTEM_FOLDER,
    TEMP_FOLDER,
    WINDOWS_DRIVE,         /* "C:" of the Windows folder */
    SETUP_FOLDER,          /* the folder the setup runs from */
    FIRST_VOLUME,          /* the volume number, which is 1 outside the volumes' names */
    USER_NAME,
    COMPUTER_NAME,
    NATIVE_PROGRAM_FILES,  /* a 64-bit system's own program folder; elsewhere VAR_PROGRAMFILES */
};

typedef struct {
    unsigned char number; /* VAR_ */
    unsigned char source; /* MachineSource */
    unsigned short csidl; /* SHELL_FOLDER: which folder */
} MachineVariable;

/* In the order they are set: the quick-launch folder and the native program folder come after
 * the variables they start from. */
static const MachineVariable MACHINE_VARIABLES[] = {
    {VAR_PROGRAMFILES, SHELL_FOLDER, CSIDL_PROGRAM_FILES},
    {VAR_WINDOWSDIR, WINDOWS_FOLDER, 0},
    {VAR_SYSTEMDIR, SYSTEM_FOLDER, 0},
    {VAR_TEMPDIR, TEMP_FOLDER, 0},
    {VAR_DESKTOP, SHELL_FOLDER, CSIDL_DESKTOPDIRECTORY},
    {VAR_PROGRAMSDIR, SHELL_FOLDER, CSIDL_PROGRAMS},
    {VAR_STARTMENU, SHELL_FOLDER, CSIDL_STARTMENU},
    {VAR_MYDOCUMENTS, SHELL_FOLDER, CSIDL_PERSONAL},
    {VAR_FAVORITES, SHELL_FOLDER, CSIDL_FAVORITES},
    {VAR_SENDTO, SHELL_FOLDER, CSIDL_SENDTO},
    {VAR_USERPROFILE, SHELL_FOLDER, CSIDL_PROFILE},
    {VAR_STARTUP, SHELL_FOLDER, CSIDL_STARTUP},
    {VAR_FONTDIR, SHELL_FOLDER, CSIDL_FONTS},
    {VAR_COMMONFILES, SHELL_FOLDER, CSIDL_PROGRAM_FILES_COMMON},
    {VAR_SYSTEMDRIVE, WINDOWS_DRIVE, 0},
    {VAR_CURRENTDIR, SETUP_FOLDER, 0},
    {VAR_I, FIRST_VOLUME, 0},
    {VAR_USERNAME, USER_NAME, 0},
    {VAR_COMPUTERNAME, COMPUTER_NAME, 0},
    {VAR_APPDATA, SHELL_FOLDER, CSIDL_APPDATA},
    {VAR_QUICKLAUNCH, QUICK_LAUNCH_FOLDER, 0},
    {VAR_COMMONAPPDATA, SHELL_FOLDER, CSIDL_COMMON_APPDATA},
    {VAR_COMMONDESKTOP, SHELL_FOLDER, CSIDL_COMMON_DESKTOPDIRECTORY},
    {VAR_COMMONDOCUMENTS, SHELL_FOLDER, CSIDL_COMMON_DOCUMENTS},
    {VAR_COMMONFAVORITES, SHELL_FOLDER, CSIDL_COMMON_FAVORITES},
    {VAR_COMMONPROGRAMSDIR, SHELL_FOLDER, CSIDL_COMMON_PROGRAMS},
    {VAR_COMMONSTARTMENU, SHELL_FOLDER, CSIDL_COMMON_STARTMENU},
    {VAR_COMMONSTARTUP, SHELL_FOLDER, CSIDL_COMMON_STARTUP},
    {VAR_TEMPLATES, SHELL_FOLDER, CSIDL_TEMPLATES},
    {VAR_COMMONTEMPLATES, SHELL_FOLDER, CSIDL_COMMON_TEMPLATES},
    {VAR_PROGRAMFILES64, NATIVE_PROGRAM_FILES, 0},
};

/* The shell's folder in buf (created when missing), "" when the system has none. */
static const wchar_t *shell_folder(int csidl, wchar_t *buf)
{
    if (SHGetFolderPathW(NULL, csidl | CSIDL_FLAG_CREATE, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK &&
        SHGetFolderPathW(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, buf) != S_OK)
        return L"";
    path_strip_slash(buf);
    return buf;
}

/* The value of one variable, allocated; buf holds MAX_PATH + 1 characters. */
static wchar_t *machine_value(const Variables *v, const MachineVariable *m, const wchar_t *setup_folder, wchar_t *buf)
{
    DWORD n = MAX_PATH;
    switch (m->source) {
    case SHELL_FOLDER:
        return w_dup(shell_folder(m->csidl, buf));
    case QUICK_LAUNCH_FOLDER:
        return path_join(v->value[VAR_APPDATA], L"Microsoft\\Internet Explorer\\Quick Launch");
    case WINDOWS_FOLDER:
        GetWindowsDirectoryW(buf, MAX_PATH);
        break;
    case SYSTEM_FOLDER:
        GetSystemDirectoryW(buf, MAX_PATH);
        break;
    case TEMP_FOLDER:
        n = GetTempPathW(MAX_PATH, buf);
        if (n == 0 || n > MAX_PATH)
            buf[0] = 0;
        break;
    case WINDOWS_DRIVE:
        GetWindowsDirectoryW(buf, MAX_PATH);
        buf[2] = 0;
        return w_dup(buf);
    case SETUP_FOLDER:
        return w_dup(setup_folder);
    case FIRST_VOLUME:
        return w_dup(L"1");
    case USER_NAME:
        return w_dup(GetUserNameW(buf, &n) ? buf : L"");
    case COMPUTER_NAME:
        return w_dup(GetComputerNameW(buf, &n) ? buf : L"");
    case NATIVE_PROGRAM_FILES:
        n = GetEnvironmentVariableW(L"ProgramW6432", buf, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return w_dup(v->value[VAR_PROGRAMFILES]);
        break;
    }
    path_strip_slash(buf);
    return w_dup(buf);
}

void vars_init_machine(Variables *v, const Script *s, const wchar_t *setup_folder)
{
    wchar_t buf[MAX_PATH + 1];
    memset(v, 0, sizeof *v);
    for (size_t i = 0; i < sizeof MACHINE_VARIABLES / sizeof MACHINE_VARIABLES[0]; i++) {
        buf[0] = 0;
        vars_take(v, MACHINE_VARIABLES[i].number, machine_value(v, &MACHINE_VARIABLES[i], setup_folder, buf));
    }
    vars_set_product(v, s);
}
