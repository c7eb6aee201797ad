/* Loads an RTF file into the system's rich-edit control, as the installer's licence and
 * information pages do (riched20.dll, RichEdit20W, EM_STREAMIN), and writes what the control
 * made of it: each paragraph with its alignment and numbering, then each run of characters that
 * share one character format, with that format and the run's text.
 *
 *   richedit_dump.exe IN.rtf OUT.txt
 *
 * OUT.txt is UTF-8, one record a line, fields separated by tabs:
 *   paragraph <left|centre|right|justify> <none|bullet|decimal|lower-letter|upper-letter|lower-roman|upper-roman|other>
 *   run <styles: b i u s, or -> <colour: auto or RRGGBB> <size in twips> <face> <text>
 * In a run's text a tab is written "\t", a line break "\n" and a backslash "\\".
 * Exit status: 0 done, 1 bad arguments, 2 the control or a file could not be opened. */
#include <windows.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>

static DWORD CALLBACK stream_in(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG *got)
{
    DWORD n = 0;
    BOOL ok = ReadFile((HANDLE)cookie, buf, (DWORD)cb, &n, NULL);
    *got = (LONG)n;
    return ok ? 0 : 1;
}

static void put_utf8(FILE *out, const wchar_t *text, int length)
{
    char buffer[8];
    for (int i = 0; i < length; ++i) {
        wchar_t c = text[i];
        if (c == L'\t') fputs("\\t", out);
        else if (c == 0x0B || c == L'\n') fputs("\\n", out);
        else if (c == L'\\') fputs("\\\\", out);
        else {
            int units = (c >= 0xD800 && c <= 0xDBFF && i + 1 < length) ? 2 : 1;
            int n = WideCharToMultiByte(CP_UTF8, 0, text + i, units, buffer, sizeof buffer, NULL, NULL);
            fwrite(buffer, 1, (size_t)n, out);
            i += units - 1;
        }
    }
}

static const char *alignment_name(WORD alignment)
{
    switch (alignment) {
    case PFA_CENTER: return "centre";
    case PFA_RIGHT: return "right";
    case PFA_JUSTIFY: return "justify";
    default: return "left";
    }
}

static const char *numbering_name(WORD numbering)
{
    static const char *names[] = {"none", "bullet", "decimal", "lower-letter", "upper-letter", "lower-roman",
                                  "upper-roman"};
    return numbering < sizeof names / sizeof names[0] ? names[numbering] : "other";
}

static CHARFORMAT2W char_format_at(HWND edit, LONG position)
{
    CHARRANGE range = {position, position + 1};
    CHARFORMAT2W format;
    memset(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    SendMessageW(edit, EM_EXSETSEL, 0, (LPARAM)&range);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
    return format;
}

static int same_format(const CHARFORMAT2W *a, const CHARFORMAT2W *b)
{
    const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR;
    return (a->dwEffects & effects) == (b->dwEffects & effects) && a->crTextColor == b->crTextColor &&
           a->yHeight == b->yHeight && wcscmp(a->szFaceName, b->szFaceName) == 0;
}

static void put_run(FILE *out, const CHARFORMAT2W *format, const wchar_t *text, int length)
{
    char styles[5] = "", *s = styles;
    if (format->dwEffects & CFE_BOLD) *s++ = 'b';
    if (format->dwEffects & CFE_ITALIC) *s++ = 'i';
    if (format->dwEffects & CFE_UNDERLINE) *s++ = 'u';
    if (format->dwEffects & CFE_STRIKEOUT) *s++ = 's';
    fprintf(out, "run\t%s\t", styles[0] ? styles : "-");
    if (format->dwEffects & CFE_AUTOCOLOR)
        fputs("auto", out);
    else
        fprintf(out, "%02X%02X%02X", GetRValue(format->crTextColor), GetGValue(format->crTextColor),
                GetBValue(format->crTextColor));
    fprintf(out, "\t%ld\t", (long)format->yHeight);
    put_utf8(out, format->szFaceName, (int)wcslen(format->szFaceName));
    fputc('\t', out);
    put_utf8(out, text, length);
    fputc('\n', out);
}

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3) {
        fputs("usage: richedit_dump IN.rtf OUT.txt\n", stderr);
        return 1;
    }
    if (!LoadLibraryW(L"riched20.dll")) {
        fputs("riched20.dll cannot be loaded\n", stderr);
        return 2;
    }
    HWND edit = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400, NULL, NULL,
                                GetModuleHandleW(NULL), NULL);
    if (!edit) {
        fprintf(stderr, "no rich-edit control (error %lu)\n", GetLastError());
        return 2;
    }
    /* The installer gives its controls the normal-weight interface font before it streams the
     * text in; text the RTF leaves unformatted shows in it. */
    SendMessageW(edit, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    /* No word wrap: a paragraph's lines then end only where the text breaks them. */
    SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);
    HANDLE in = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (in == INVALID_HANDLE_VALUE) {
        fputs("the RTF file cannot be opened\n", stderr);
        return 2;
    }
    EDITSTREAM stream = {(DWORD_PTR)in, 0, stream_in};
    SendMessageW(edit, EM_STREAMIN, SF_RTF, (LPARAM)&stream);
    CloseHandle(in);

    GETTEXTLENGTHEX measure = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    LONG length = (LONG)SendMessageW(edit, EM_GETTEXTLENGTHEX, (WPARAM)&measure, 0);
    wchar_t *text = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, ((size_t)length + 1) * sizeof(wchar_t));
    TEXTRANGEW range = {{0, length}, text};
    length = (LONG)SendMessageW(edit, EM_GETTEXTRANGE, 0, (LPARAM)&range);

    /* A line break reads as character 11, or (in Wine's control) as a space that ends its line. */
    for (LONG i = 0; i + 1 < length; ++i)
        if (text[i] == L' ' && text[i + 1] != L'\r' &&
            SendMessageW(edit, EM_EXLINEFROMCHAR, 0, i + 1) != SendMessageW(edit, EM_EXLINEFROMCHAR, 0, i))
            text[i] = 0x0B;

    FILE *out = _wfopen(argv[2], L"wb");
    if (!out) {
        fputs("the output file cannot be written\n", stderr);
        return 2;
    }
    /* Paragraph by paragraph (each ends with "\r", the last one perhaps not), run by run. */
    for (LONG start = 0; start < length;) {
        LONG end = start;
        while (end < length && text[end] != L'\r') ++end;
        CHARRANGE caret = {start, start};
        PARAFORMAT2 paragraph;
        memset(&paragraph, 0, sizeof paragraph);
        paragraph.cbSize = sizeof paragraph;
        SendMessageW(edit, EM_EXSETSEL, 0, (LPARAM)&caret);
        SendMessageW(edit, EM_GETPARAFORMAT, 0, (LPARAM)&paragraph);
        fprintf(out, "paragraph\t%s\t%s\n", alignment_name(paragraph.wAlignment), numbering_name(paragraph.wNumbering));
        for (LONG run = start; run < end;) {
            CHARFORMAT2W format = char_format_at(edit, run);
            LONG next = run + 1;
            while (next < end) {
                CHARFORMAT2W following = char_format_at(edit, next);
                if (!same_format(&format, &following)) break;
                ++next;
            }
            put_run(out, &format, text + run, (int)(next - run));
            run = next;
        }
        start = end + 1;
    }
    fclose(out);
    DestroyWindow(edit);
    return 0;
}
