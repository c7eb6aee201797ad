#include "setup_format.h"
#include "text.h"

#include <string.h>

const int SECTION_WIDTH[SEC_COUNT] = {FLD_COUNT, B_COLUMNS, C_COLUMNS, D_COLUMNS, E_COLUMNS, F_COLUMNS,
                                      G_COLUMNS, H_COLUMNS, CMD_COLUMNS, CMD_COLUMNS, K_COLUMNS, L_COLUMNS,
                                      M_COLUMNS, N_COLUMNS, 0};
const int SECTION_COUNT_FIELD[SEC_COUNT] = {
    -1, FLD_USER_VARIABLE_COUNT, FLD_REGISTRY_VALUE_COUNT, FLD_REGISTRY_DELETE_COUNT, FLD_FONT_COUNT,
    FLD_SHORTCUT_COUNT, FLD_FILE_COUNT, FLD_FOLDER_COUNT, FLD_COMMAND_COUNT, FLD_UNINSTALL_COMMAND_COUNT,
    FLD_INI_COUNT, FLD_UNINSTALL_DELETE_COUNT, FLD_ACTIVEX_COUNT, FLD_LANGUAGE_COUNT, FLD_LANGUAGE_COUNT};

static unsigned long long le64(const unsigned char *p)
{
    unsigned long long v = 0;
    for (int i = 7; i >= 0; i--)
        v = (v << 8) | p[i];
    return v;
}

static unsigned le32(const unsigned char *p)
{
    return (unsigned)p[0] | (unsigned)p[1] << 8 | (unsigned)p[2] << 16 | (unsigned)p[3] << 24;
}

const wchar_t *trailer_read(const unsigned char raw[TRAILER_SIZE], unsigned long long file_size,
                            SetupTrailer *t)
{
    if (file_size < TRAILER_SIZE)
        return L"the file is too short to hold an installation";
    if (raw[TRAILER_AT_LAST_FIELD] != TRAILER_LAST_FIELD || raw[TRAILER_AT_MARK] != TRAILER_MARK)
        return L"the end of the file is not the installation's trailer (truncated or damaged file)";
    t->script_start = le64(raw + TRAILER_AT_SCRIPT_START);
    t->data_size = le64(raw + TRAILER_AT_DATA_SIZE);
    t->script_end = le64(raw + TRAILER_AT_SCRIPT_END);
    t->data_end = le64(raw + TRAILER_AT_DATA_END);
    t->cabinets = raw[TRAILER_AT_STORAGE] == STORAGE_CABINETS;
    t->side_files = raw[TRAILER_AT_SIDE_FILES];
    if (raw[TRAILER_AT_STORAGE] != STORAGE_STORED && raw[TRAILER_AT_STORAGE] != STORAGE_CABINETS)
        return L"the trailer names an unknown storage form";
    if (!(t->script_start < t->script_end && t->script_end <= t->data_end &&
          t->data_end <= file_size - TRAILER_SIZE) ||
        t->data_size != t->data_end - t->script_end)
        return L"the trailer's offsets do not fit the file (truncated or damaged file)";
    return NULL;
}

const char *script_field(const Script *s, int field)
{
    return field >= 0 && field < FLD_COUNT ? s->values[field] : "";
}

long long script_number(const Script *s, int field)
{
    return script_number_or(s, field, 0);
}

long long script_number_or(const Script *s, int field, long long fallback)
{
    long long v;
    return parse_i64(script_field(s, field), &v) ? v : fallback;
}

int script_yes(const char *value)
{
    return strcmp(value, SCRIPT_YES) == 0;
}

int script_flag(const Script *s, int field)
{
    return script_yes(script_field(s, field));
}

unsigned long script_colour(const Script *s, int field)
{
    return (unsigned long)script_number(s, field) & COLOUR_RGB_BITS;
}

const char *script_value(const Script *s, int section, size_t entry, int column)
{
    if (entry >= s->entries[section] || column < 0 || (size_t)column >= s->width[section])
        return "";
    return s->values[s->first[section] + entry * s->width[section] + (size_t)column];
}

void script_free(Script *s)
{
    xfree(s->buf);
    xfree((void *)s->values);
    memset(s, 0, sizeof *s);
}

const wchar_t *script_parse(char *buf, size_t len, Script *s)
{
    memset(s, 0, sizeof *s);
    s->buf = buf;
    if (len == 0 || buf[len - 1] != 0)
        return L"the installation script does not end with a complete value";
    size_t n = 0;
    for (size_t i = 0; i < len; i++)
        n += buf[i] == 0;
    if (n < FLD_COUNT)
        return L"the installation script is incomplete";
    s->values = xalloc(n * sizeof(char *));
    s->value_count = n;
    const char *p = buf;
    for (size_t i = 0; i < n; i++) {
        s->values[i] = p;
        p += strlen(p) + 1;
    }

    unsigned long long per_language;
    if (!parse_u64(script_field(s, FLD_TEXTS_PER_LANGUAGE), &per_language) || per_language > 10000)
        return L"the installation script's text count is not a number";
    size_t at = 0;
    for (int sec = 0; sec < SEC_COUNT; sec++) {
        unsigned long long count = 1;
        if (SECTION_COUNT_FIELD[sec] >= 0 &&
            (!parse_u64(script_field(s, SECTION_COUNT_FIELD[sec]), &count) || count > n))
            return L"an entry count of the installation script is not a number";
        s->width[sec] = sec == SEC_O ? (size_t)per_language : (size_t)SECTION_WIDTH[sec];
        s->entries[sec] = (size_t)count;
        s->first[sec] = at;
        if (s->width[sec] && count > (n - at) / s->width[sec])
            return L"the installation script holds fewer values than its counts announce";
        at += (size_t)count * s->width[sec];
    }
    if (at != n)
        return L"the installation script holds more values than its counts announce";
    return NULL;
}

int registry_root_number(const char *number)
{
    unsigned long long i;
    return parse_u64(number, &i) && i < ROOT_COUNT ? (int)i : -1;
}

void stored_header_read(const unsigned char raw[STORED_HEADER_SIZE], StoredHeader *h)
{
    h->number = le32(raw);
    h->size = le64(raw + 4);
    h->write_time = le64(raw + 12);
    h->attributes = le32(raw + 20);
}

int var_short_base(int number)
{
    int n = number - VAR_SHORT_OFFSET;
    return (n >= 1 && n <= 18) || (n >= 26 && n <= 36) ? n : 0;
}

wchar_t *var_code(int number)
{
    wchar_t *code = xalloc((VAR_CODE_LEN + 1) * sizeof(wchar_t));
    wcscpy(code, VAR_CODE_PREFIX);
    code[VAR_CODE_PREFIX_LEN] = (wchar_t)(L'0' + number / 10 % 10);
    code[VAR_CODE_PREFIX_LEN + 1] = (wchar_t)(L'0' + number % 10);
    return code;
}
