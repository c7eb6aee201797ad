/* The uninstall log: what the installer did that the uninstaller undoes, one record per line
 * (UTF-16 text; a tag character, then tab-separated fields). The installer also uses it to
 * roll back a failed installation. */
#ifndef BVQ_STUB_JOURNAL_H
#define BVQ_STUB_JOURNAL_H

#include <stddef.h>
#include <wchar.h>

#define JOURNAL_MAGIC L"[Uninstall log 1]"
#define JOURNAL_FIELDS 6

enum JournalTag {
    J_PRODUCT = 'P',   /* display name */
    J_TITLE = 'T',     /* uninstaller window title */
    J_PROGRAMS = 'A',  /* entry of the installed-programs list: root number, key */
    J_CLOSE_APP = 'C', /* application to close first: match mode, text */
    J_WEB_PAGE = 'W',  /* page to open after removal */
    J_LANGUAGE = 'G',  /* code page of the installation's language */
    J_TEXT = 'U',      /* install text role number, the text in the installation's language */
    J_FILE = 'F',      /* file installed */
    J_FOLDER = 'D',    /* folder created: removed when empty */
    J_REG_VALUE = 'R', /* root number, subkey, value name */
    J_REG_KEY = 'K',   /* key created: root number, subkey; removed when empty */
    J_INI = 'I',       /* file, section, key */
    J_SHORTCUT = 'S',  /* .lnk file */
    J_FONT = 'N',      /* registry value name, font file */
    J_ACTIVEX = 'X',   /* file to unregister */
    J_COMMAND = 'J',   /* type, command, parameters, show, when, wait (the CMD_ columns) */
    J_REG_DELETE = 'Q',/* root number, subkey, value name (empty: the whole key) */
    J_DELETE = 'L',    /* kind, path */
    /* Only for rolling back a failed installation; never written to the uninstall log. */
    J_ROLLBACK_FILE = 'f',      /* file installed that the uninstaller keeps */
    J_ROLLBACK_REG_VALUE = 'r', /* as J_REG_VALUE, for a value the uninstaller keeps */
    J_ROLLBACK_REG_KEY = 'k',   /* as J_REG_KEY */
    J_REG_OLD = 'O',            /* value before it was overwritten: root number, subkey, name,
                                   type number, data in hexadecimal */
    J_ROLLBACK_INI = 'i',       /* as J_INI, for an entry the uninstaller keeps */
    J_INI_OLD = 'o',            /* INI entry before it was overwritten: file, section, key, value */
};

/* 1 for the tags that only a rollback reads. */
int journal_rollback_only(wchar_t tag);

typedef struct {
    wchar_t tag;
    int count;
    wchar_t *field[JOURNAL_FIELDS];
} JournalRecord;

typedef struct {
    JournalRecord *items;
    size_t count, cap;
} Journal;

void journal_add(Journal *j, wchar_t tag, int count, ...); /* const wchar_t * fields */
void journal_pop(Journal *j); /* forgets the last record */
const wchar_t *journal_find(const Journal *j, wchar_t tag, int field); /* first record's field */
/* The log's text: UTF-16 little endian with byte-order mark, the rollback-only records left
 * out. */
unsigned char *journal_encode(const Journal *j, size_t *bytes);
/* 1 when the bytes are an uninstall log; j then holds its records. */
int journal_decode(Journal *j, const unsigned char *bytes, size_t n);
int journal_save(const Journal *j, const wchar_t *path);
int journal_load(Journal *j, const wchar_t *path);  /* 1 when the file is an uninstall log */
void journal_free(Journal *j);

#endif
