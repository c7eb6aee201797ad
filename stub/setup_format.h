/* What the build writes behind the installer, and how it is read: the trailer, the script's
 * sections and fields, the data block's records, the stored payload records, the cabinet
 * sizes and the variable codes. Every other file of the installer asks this one. */
#ifndef BVQ_STUB_SETUP_FORMAT_H
#define BVQ_STUB_SETUP_FORMAT_H

#include <stddef.h>
#include <wchar.h>

/* ---- Trailer: the last 36 bytes of the setup file (volume 0) ---- */
#define TRAILER_SIZE 36
/* Byte offsets: four 64-bit little-endian offsets, then single bytes */
enum {
    TRAILER_AT_SCRIPT_START = 0,
    TRAILER_AT_DATA_SIZE = 8,
    TRAILER_AT_SCRIPT_END = 16,
    TRAILER_AT_DATA_END = 24,
    TRAILER_AT_STORAGE = 32,
    TRAILER_AT_SIDE_FILES = 33,
    TRAILER_AT_LAST_FIELD = 34,
    TRAILER_AT_MARK = 35
};
#define TRAILER_LAST_FIELD 120 /* number of the last field of section A */
#define TRAILER_MARK 241
#define STORAGE_STORED 0
#define STORAGE_CABINETS 1

typedef struct {
    unsigned long long script_start; /* S0: size of the patched stub */
    unsigned long long data_size;    /* S2 - S1 */
    unsigned long long script_end;   /* S1 */
    unsigned long long data_end;     /* S2: start of the payload */
    int cabinets;                    /* 1: data block and payload are cabinets; 0: stored */
    int side_files;                  /* number of side files, counted in one byte */
} SetupTrailer;

/* Checks the trailer against the size of volume 0; NULL when sound, else the reason. */
const wchar_t *trailer_read(const unsigned char raw[TRAILER_SIZE], unsigned long long file_size,
                            SetupTrailer *t);

/* ---- Script: zero-terminated ANSI values, sections A..O ---- */
enum ScriptSection {
    SEC_A, /* settings, fields 0..120 */
    SEC_B, /* variables read from the registry: root, subkey, value name, default */
    SEC_C, /* registry values: root, subkey, name, data, type, overwrite, uninstall */
    SEC_D, /* registry entries the uninstaller deletes: root, subkey, value name */
    SEC_E, /* fonts: name, file */
    SEC_F, /* shortcuts: place, name, target, parameters, comment, icon file, icon index, folder */
    SEC_G, /* packed files: destination, mode, uninstall */
    SEC_H, /* folders: path, uninstall */
    SEC_I, /* installer commands: type, command, parameters, show, when, wait */
    SEC_J, /* uninstaller commands: as I */
    SEC_K, /* INI entries: file, section, key, value, overwrite, uninstall */
    SEC_L, /* uninstaller deletions: kind, path */
    SEC_M, /* ActiveX files: file, unregister */
    SEC_N, /* languages: caption, id, licence side file, information side file */
    SEC_O, /* language texts: field 57 per language */
    SEC_COUNT
};

/* Fields of section A used by the installer */
enum ScriptField {
    FLD_BUILDER = 0,
    FLD_BACKGROUND = 1,               /* the background window is shown */
    FLD_BACK_GRADIENT = 3,            /* gradient, else the picture (side file 6) */
    FLD_BACK_COLOUR_START = 4,
    FLD_BACK_COLOUR_END = 5,
    FLD_BACK_GRADIENT_DIRECTION = 6,  /* 0 vertical, 1 horizontal */
    FLD_BACK_PLACEMENT = 7,           /* 0 tile, 1 stretch, 2 centre */
    FLD_BACK_TITLE = 8,
    FLD_BACK_COMPANY = 9,
    FLD_BACK_TITLE_HEIGHT = 10,       /* font height as a LOGFONT holds it */
    FLD_BACK_TITLE_FONT = 11,
    FLD_BACK_TITLE_COLOUR = 12,
    FLD_BACK_TITLE_CHARSET = 13,
    FLD_BACK_TITLE_STYLE = 14,        /* bold 1, italic 2, underline 4, strike-out 8 */
    FLD_BACK_COMPANY_STYLE = 15,
    FLD_BACK_COMPANY_COLOUR = 16,
    FLD_BACK_COMPANY_CHARSET = 17,
    FLD_BACK_COMPANY_HEIGHT = 18,
    FLD_BACK_COMPANY_FONT = 19,
    FLD_NET_PAGE = 2,
    FLD_ACTIVEX_COUNT = 20,           /* entries of section M */
    FLD_VOLUME_PATTERN = 21,
    FLD_TOTAL_SOURCE_SIZE = 23,
    FLD_INI_COUNT = 24,               /* K */
    FLD_UNINSTALL_COMMAND_COUNT = 25, /* J */
    FLD_LANGUAGE_COUNT = 26,          /* N and O */
    FLD_FOOTER = 27,
    FLD_PRODUCT = 28,
    FLD_PASSWORD = 29,
    FLD_LICENCE_PAGE = 30,
    FLD_FONT_COUNT = 31,              /* E */
    FLD_GROUP_COMMON = 32,
    FLD_SINGLE_FILE = 34,
    FLD_VERSION = 35,
    FLD_FINISH_WEB = 36,
    FLD_WEB_SITE = 37,
    FLD_FINISH_WEB_TICKED = 38,
    FLD_FINISH_RUN = 39,
    FLD_COMMAND_COUNT = 40,           /* I */
    FLD_COMPANY = 42,
    FLD_RUN_APP = 43,
    FLD_FINISH_RUN_TICKED = 44,
    FLD_UNINSTALL_DELETE_COUNT = 45,  /* L */
    FLD_FINISH_README_TICKED = 46,
    FLD_README = 47,
    FLD_HEADER_PICTURE = 49,          /* header picture shown */
    FLD_REQUIRED_KB = 48,
    FLD_REGISTRY_VALUE_COUNT = 50,    /* C */
    FLD_FINISH_RESTART = 52,
    FLD_INSTALL_NAME = 53,
    FLD_SHORTCUT_COUNT = 54,          /* F */
    FLD_UNINSTALL_NAME = 55,
    FLD_UNINSTALLER = 56,
    FLD_TEXTS_PER_LANGUAGE = 57,
    FLD_INSTALL_PATH = 58,
    FLD_PASSWORD_MODE = 59,
    FLD_HEADER_COLOUR_START = 60,
    FLD_REFUSED_SYSTEMS = 61,
    FLD_SYSTEMS_TEXT = 62,
    FLD_LOGO = 63,                    /* logo shown */
    FLD_UN_CLOSE_APP = 64,
    FLD_TITLE = 65,
    FLD_HEADER_GRADIENT = 66,
    FLD_FILE_COUNT = 67,              /* G */
    FLD_UN_OPEN_PAGE = 68,
    FLD_HEADER_TITLE_X = 69,          /* positions inside the header and the logo strip */
    FLD_HEADER_COLOUR_END = 70,
    FLD_HEADER_PICTURE_TRANSPARENT = 71,
    FLD_HEADER_TITLE_Y = 72,
    FLD_HEADER_DESCRIPTION_X = 73,
    FLD_UN_PAGE = 74,
    FLD_UN_TITLE = 75,
    FLD_FIXED_FOLDER = 76,
    FLD_LOGO_TRANSPARENT = 77,
    FLD_HEADER_DESCRIPTION_Y = 78,
    FLD_FINISH_README = 79,
    FLD_HEADER_PICTURE_Y = 80,        /* less the frame */
    FLD_HEADER_PICTURE_X = 81,
    FLD_LOGO_Y = 82,                  /* less the frame */
    FLD_LOGO_X = 83,                  /* less the frame */
    FLD_INFO_PAGE = 84,
    FLD_NET_OR_LATER = 85,
    FLD_DESKTOP_SHORTCUTS = 88,       /* "1" when a shortcut goes on the desktop */
    FLD_GROUP_SHORTCUTS = 89,         /* ... in the program group */
    FLD_QUICK_LAUNCH_SHORTCUTS = 90,  /* ... on the quick-launch bar */
    FLD_UNINSTALL_FILE = 91,
    FLD_UNINSTALL_LOG = 92,
    FLD_FOLDER_COUNT = 93,            /* H */
    FLD_WEB = 94,
    FLD_CABINET_SIZE = 95,
    FLD_REGISTRY_DELETE_COUNT = 96,   /* D */
    FLD_UN_APP_TEXT = 97,
    FLD_USER_VARIABLE_COUNT = 98,     /* B */
    FLD_ADMIN = 99,
    FLD_NET_VERSION = 100,
    FLD_CLOSE_APP = 103,
    FLD_APP_TEXT = 104,
    FLD_APP_MATCH = 105,
    FLD_GROUP = 106,
    FLD_FIXED_GROUP = 109,
    FLD_SUPPORT = 107,
    FLD_UN_APP_MATCH = 108,
    FLD_SILENT = 110,
    FLD_WELCOME_PAGE = 111,
    FLD_FOLDER_PAGE = 112,
    FLD_GROUP_PAGE = 113,
    FLD_SHORTCUTS_PAGE = 114,
    FLD_READY_PAGE = 115,
    FLD_FINISH_PAGE = 116,
    FLD_LAST_CABINET = 117,
    FLD_LAST_CABINET_SIZE = 118,
    FLD_COUNT = 121
};

/* Values per entry of each section (section O: per language, field 57) */
extern const int SECTION_WIDTH[SEC_COUNT];
/* The field of section A that counts the entries of each section (-1 for A) */
extern const int SECTION_COUNT_FIELD[SEC_COUNT];

typedef struct {
    char *buf;        /* the script bytes, owned */
    const char **values;
    size_t value_count;
    size_t first[SEC_COUNT];   /* index of the first value of each section */
    size_t entries[SEC_COUNT]; /* entries (languages for N and O) */
    size_t width[SEC_COUNT];
} Script;

/* Takes ownership of buf; NULL when sound, else the reason (the script is then unusable). */
const wchar_t *script_parse(char *buf, size_t len, Script *s);
const char *script_field(const Script *s, int field);
long long script_number(const Script *s, int field); /* 0 when not a number */
/* The field's number, or fallback when it holds none (a position left empty). */
long long script_number_or(const Script *s, int field, long long fallback);
int script_flag(const Script *s, int field);
unsigned long script_colour(const Script *s, int field); /* a COLORREF */
const char *script_value(const Script *s, int section, size_t entry, int column);
void script_free(Script *s);

/* Column numbers of the sections */
enum { B_ROOT, B_SUBKEY, B_NAME, B_DEFAULT, B_COLUMNS };
enum { C_ROOT, C_SUBKEY, C_NAME, C_DATA, C_TYPE, C_OVERWRITE, C_UNINSTALL, C_COLUMNS };
enum { D_ROOT, D_SUBKEY, D_NAME, D_COLUMNS };
enum { E_NAME, E_FILE, E_COLUMNS };
enum { F_PLACE, F_NAME, F_TARGET, F_PARAMS, F_COMMENT, F_ICON_FILE, F_ICON_INDEX, F_FOLDER, F_COLUMNS };
enum { G_DEST, G_MODE, G_UNINSTALL, G_COLUMNS };
enum { H_PATH, H_UNINSTALL, H_COLUMNS };
enum { CMD_TYPE, CMD_COMMAND, CMD_PARAMS, CMD_SHOW, CMD_WHEN, CMD_WAIT, CMD_COLUMNS };
enum { K_FILE, K_SECTION, K_KEY, K_VALUE, K_OVERWRITE, K_UNINSTALL, K_COLUMNS };
enum { L_KIND, L_PATH, L_COLUMNS };
enum { M_FILE, M_UNREGISTER, M_COLUMNS };
enum { N_CAPTION, N_ID, N_LICENCE, N_INFO, N_COLUMNS };

/* Shortcut places (section F, column 0) */
enum { PLACE_START_MENU, PLACE_DESKTOP, PLACE_GROUP, PLACE_QUICK_LAUNCH, PLACE_PATH };
/* If-exists modes of packed files (section G, column 1) */
enum { MODE_ASK, MODE_ASK_IF_NEWER, MODE_REPLACE, MODE_REPLACE_IF_NEWER, MODE_SKIP };
/* Registry value types (section C, column 4) */
enum { REGTYPE_SZ, REGTYPE_BINARY, REGTYPE_DWORD, REGTYPE_EXPAND_SZ };
/* Uninstaller deletions (section L, column 0) */
enum { DELETE_FILE, DELETE_FOLDER, DELETE_FOLDER_TREE };
/* Refused systems (field 61) */
#define REFUSE_95 2
#define REFUSE_98 4
#define REFUSE_ME 8
#define REFUSE_NT 16
#define REFUSE_2000 32
#define REFUSE_XP 64
#define REFUSE_2003 128
#define REFUSE_VISTA 256
#define REFUSE_2008_7 512
/* Colours (fields 4, 5, 12, 16, 60, 70): red, green and blue in the low three bytes */
#define COLOUR_RGB_BITS 0xFFFFFF
/* Background gradient direction (field 6) */
enum { GRADIENT_VERTICAL, GRADIENT_HORIZONTAL };
/* Background picture placement (field 7) */
enum { BACK_PLACE_TILE, BACK_PLACE_STRETCH, BACK_PLACE_CENTRE };
/* Styles of the background texts (fields 14 and 15) */
enum { TEXT_STYLE_BOLD = 1, TEXT_STYLE_ITALIC = 2, TEXT_STYLE_UNDERLINE = 4, TEXT_STYLE_STRIKE_OUT = 8 };
/* Shortcuts and program group for all users (field 32), else the user's own */
#define GROUP_FOR_ALL_USERS 1
/* Password entry (field 59) */
#define PASSWORD_HIDDEN 64       /* typed characters are not shown */
#define PASSWORD_UPPER_CASE 256  /* typed text is compared in upper case */
/* Close a running application (fields 105 and 108) */
enum { APP_MATCH_TITLE, APP_MATCH_TITLE_PART, APP_MATCH_FILE_NAME };
/* Commands (sections I and J, columns CMD_TYPE and CMD_WHEN) */
enum { COMMAND_PROGRAM, COMMAND_SHELL };
#define COMMAND_AFTER "1"  /* I: after unpacking; J: after removal */
/* Fields 2 and 100: no page to open, no .NET Framework required */
#define SCRIPT_NONE "0"
/* Truth values of the script: "1" yes, anything else no */
#define SCRIPT_YES "1"
int script_yes(const char *value);

/* Registry roots of sections B, C and D and of the installed-programs entry, by number */
enum {
    ROOT_CLASSES_ROOT, ROOT_CURRENT_USER, ROOT_LOCAL_MACHINE, ROOT_USERS, ROOT_PERFORMANCE_DATA,
    ROOT_CURRENT_CONFIG, ROOT_DYN_DATA, ROOT_COUNT
};
int registry_root_number(const char *number); /* -1 for anything but 0..6 */

/* ---- Payload ---- */
#define STORED_HEADER_SIZE 24 /* number (4), size (8), write time (8), attributes (4) */
#define CABINET_SIGNATURE "MSCF" /* the 4 bytes the build strips from every cabinet */
#define CABINET_ATTRIBUTE_EXECUTE 0x80 /* a cabinet entry's "run after extraction" flag */

typedef struct {
    unsigned number;
    unsigned long long size;
    unsigned long long write_time; /* 100 ns units since 1601, UTC */
    unsigned attributes;           /* file attributes of the source */
} StoredHeader;
void stored_header_read(const unsigned char raw[STORED_HEADER_SIZE], StoredHeader *h);

/* Side files of the data block are named "$inst\" + number + ".tmp" */
#define SIDE_FILE_PREFIX "$inst\\"
#define SIDE_FILE_HEADER_PICTURE 4
#define SIDE_FILE_LOGO 5
#define SIDE_FILE_BACKGROUND 6
/* the small pictures beside the texts of the folder, shortcuts and password pages */
#define SIDE_FILE_FOLDER_PICTURE 7
#define SIDE_FILE_SHORTCUTS_PICTURE 8
#define SIDE_FILE_PASSWORD_PICTURE 9
#define SIDE_FILE_LICENCE_ALL 15
#define SIDE_FILE_INFO_ALL 16

/* ---- Variable codes: "@$&%" + two digits ---- */
#define VAR_CODE_PREFIX L"@$&%"
#define VAR_CODE_PREFIX_LEN 4
#define VAR_CODE_LEN 6
#define VAR_MAX 99
#define VAR_FIRST_USER 81
enum {
    VAR_PROGRAMFILES = 1, VAR_WINDOWSDIR, VAR_SYSTEMDIR, VAR_INSTALLPATH, VAR_TEMPDIR,
    VAR_DESKTOP, VAR_QUICKLAUNCH, VAR_PROGRAMSDIR, VAR_STARTMENU, VAR_MYDOCUMENTS,
    VAR_FAVORITES, VAR_SENDTO, VAR_USERPROFILE, VAR_STARTUP, VAR_FONTDIR, VAR_COMMONFILES,
    VAR_SYSTEMDRIVE, VAR_CURRENTDIR, VAR_I, VAR_USERNAME, VAR_LANGUAGE, VAR_COMPUTERNAME,
    VAR_PRODUCTNAME, VAR_PRODUCTVERSION, VAR_COMPANYNAME, VAR_APPDATA, VAR_COMMONAPPDATA,
    VAR_COMMONDESKTOP, VAR_COMMONDOCUMENTS, VAR_COMMONFAVORITES, VAR_COMMONPROGRAMSDIR,
    VAR_COMMONSTARTMENU, VAR_COMMONSTARTUP, VAR_TEMPLATES, VAR_COMMONTEMPLATES,
    VAR_PROGRAMFILES64
};
#define VAR_SHORT_OFFSET 40 /* 40 + n is the short form of n for n = 1..18 and 26..36 */
int var_short_base(int number); /* n when number is a short form of n, else 0 */
wchar_t *var_code(int number);  /* "@$&%" and the number in two digits */

#endif
