#include "cabinet.h"
#include "text.h"

#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

#define MAX_CABINETS 65536

typedef struct {
    CabSink *sink;
    const wchar_t *folder;
    int count;
    int materialised;     /* cabinets 0..materialised-1 have been given back */
    int current;          /* the cabinet FDICopy was called for */
    wchar_t **names;      /* file name of each cabinet in the work folder */
    int aborted;
} Chain;

static Chain *g_chain; /* FDI's open callback has no context of its own */

static FNALLOC(fdi_alloc)
{
    return HeapAlloc(GetProcessHeap(), 0, cb ? cb : 1);
}

static FNFREE(fdi_free)
{
    if (pv)
        HeapFree(GetProcessHeap(), 0, pv);
}

static int index_of_name(Chain *c, const wchar_t *name)
{
    for (int i = 0; i < c->materialised; i++)
        if (c->names[i] && w_ieq(c->names[i], name))
            return i;
    return -1;
}

/* FDI opens nothing but cabinets: the first by the name FDICopy was given, the next ones by
 * the names their predecessors' headers carry. Only the file name part is used, always in
 * the work folder; a name not seen before is the next cabinet of the chain. */
static FNOPEN(fdi_open)
{
    Chain *c = g_chain;
    wchar_t *wide = w_from_ansi(pszFile);
    const wchar_t *name = path_name(wide);
    int idx = index_of_name(c, name);
    if (idx < 0) {
        if (c->materialised >= c->count || !*name) {
            xfree(wide);
            return -1;
        }
        idx = c->materialised;
        c->names[idx] = w_dup(name);
        wchar_t *path = path_join(c->folder, name);
        int ok = c->sink->materialise(c->sink->ctx, idx, path);
        c->materialised++;
        if (!ok) {
            DeleteFileW(path);
            xfree(path);
            xfree(wide);
            c->aborted = 1;
            return -1;
        }
        xfree(path);
    }
    wchar_t *path = path_join(c->folder, c->names[idx]);
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    xfree(path);
    xfree(wide);
    return h == INVALID_HANDLE_VALUE ? -1 : (INT_PTR)h;
}

static FNREAD(fdi_read)
{
    DWORD got = 0;
    if (!ReadFile((HANDLE)hf, pv, cb, &got, NULL))
        return (UINT)-1;
    return got;
}

static FNWRITE(fdi_write)
{
    DWORD put = 0;
    if (g_chain && g_chain->sink->tick && !g_chain->sink->tick(g_chain->sink->ctx)) {
        g_chain->aborted = 1;
        return (UINT)-1;
    }
    if (!WriteFile((HANDLE)hf, pv, cb, &put, NULL) || put != cb)
        return (UINT)-1;
    return put;
}

static FNCLOSE(fdi_close)
{
    return CloseHandle((HANDLE)hf) ? 0 : -1;
}

static FNSEEK(fdi_seek)
{
    DWORD method = seektype == SEEK_CUR ? FILE_CURRENT : seektype == SEEK_END ? FILE_END : FILE_BEGIN;
    DWORD pos = SetFilePointer((HANDLE)hf, dist, NULL, method);
    return pos == INVALID_SET_FILE_POINTER ? -1 : (long)pos;
}

static FNFDINOTIFY(fdi_notify)
{
    Chain *c = g_chain;
    switch (fdint) {
    case fdintCABINET_INFO:
        /* The header names the next cabinet: remember it for the next FDICopy call. */
        if (pfdin->psz1 && *pfdin->psz1 && c->current + 1 < c->count &&
            c->current + 1 >= c->materialised) {
            wchar_t *w = w_from_ansi(pfdin->psz1);
            xfree(c->names[c->current + 1]);
            c->names[c->current + 1] = w_dup(path_name(w));
            xfree(w);
        }
        return 0;
    case fdintPARTIAL_FILE:
        return 0; /* continued from the previous cabinet: written already */
    case fdintCOPY_FILE: {
        int abort = 0;
        HANDLE h = c->sink->open_file(c->sink->ctx, pfdin->psz1, pfdin->cb, pfdin->date,
                                      pfdin->time, pfdin->attribs, &abort);
        if (abort) {
            c->aborted = 1;
            return -1;
        }
        return h ? (INT_PTR)h : 0;
    }
    case fdintCLOSE_FILE_INFO:
        if (!c->sink->close_file(c->sink->ctx, (HANDLE)pfdin->hf, pfdin->psz1, pfdin->date,
                                 pfdin->time, pfdin->attribs)) {
            c->aborted = 1;
            return FALSE;
        }
        return TRUE;
    case fdintNEXT_CABINET:
        return pfdin->fdie == FDIERROR_NONE ? 0 : -1;
    default:
        return 0;
    }
}

static const wchar_t *fdi_error_text(int code)
{
    switch (code) {
    case FDIERROR_CABINET_NOT_FOUND: return L"a cabinet of the installation is missing";
    case FDIERROR_NOT_A_CABINET: return L"the installation data is not a cabinet";
    case FDIERROR_UNKNOWN_CABINET_VERSION: return L"unknown cabinet version";
    case FDIERROR_CORRUPT_CABINET: return L"the installation data is damaged (corrupt cabinet)";
    case FDIERROR_ALLOC_FAIL: return L"out of memory while unpacking";
    case FDIERROR_BAD_COMPR_TYPE: return L"unknown compression type";
    case FDIERROR_MDI_FAIL: return L"the installation data is damaged (decompression failed)";
    case FDIERROR_TARGET_FILE: return L"a file could not be written";
    case FDIERROR_RESERVE_MISMATCH: return L"cabinet reserve sizes differ";
    case FDIERROR_WRONG_CABINET: return L"a cabinet does not belong to this installation";
    case FDIERROR_USER_ABORT: return L"unpacking was stopped";
    default: return L"unpacking failed";
    }
}

wchar_t *cab_extract_chain(CabSink *sink, int count, const wchar_t *work_folder)
{
    if (count <= 0)
        return NULL;
    if (count > MAX_CABINETS)
        return w_dup(L"the installation names too many cabinets");
    Chain c = {0};
    c.sink = sink;
    c.folder = work_folder;
    c.count = count;
    c.names = xalloc(sizeof(wchar_t *) * (size_t)count);
    c.names[0] = w_dup(L"cab0.cab");
    g_chain = &c;

    ERF erf = {0};
    HFDI fdi = FDICreate(fdi_alloc, fdi_free, fdi_open, fdi_read, fdi_write, fdi_close, fdi_seek,
                         cpuUNKNOWN, &erf);
    wchar_t *error = NULL;
    if (!fdi)
        error = w_dup(L"the system's cabinet library could not be started");
    for (int k = 0; fdi && k < count && !error; k++) {
        c.current = k;
        if (!c.names[k])
            c.names[k] = w_fmt(L"cab%d.cab", k);
        /* Cabinets before this one are no longer needed. */
        for (int i = 0; i < k && i < c.materialised; i++) {
            if (c.names[i]) {
                wchar_t *p = path_join(work_folder, c.names[i]);
                DeleteFileW(p);
                xfree(p);
            }
        }
        char *folder = ansi_from_w(work_folder);
        size_t fl = strlen(folder);
        char *cab_path = xalloc(fl + 2);
        memcpy(cab_path, folder, fl);
        if (fl && cab_path[fl - 1] != '\\')
            cab_path[fl++] = '\\';
        char *cab_name = ansi_from_w(c.names[k]);
        BOOL ok = FDICopy(fdi, cab_name, cab_path, 0, fdi_notify, NULL, NULL);
        if (!ok || c.aborted) {
            if (c.aborted)
                error = w_dup(L"unpacking was stopped");
            else
                error = w_fmt(L"%ls (cabinet %d)", fdi_error_text(erf.erfOper), k + 1);
        }
        if (ok && !c.aborted && k >= c.materialised)
            error = w_fmt(L"cabinet %d could not be read", k + 1);
        xfree(cab_name);
        xfree(cab_path);
        xfree(folder);
    }
    if (fdi)
        FDIDestroy(fdi);
    for (int i = 0; i < count; i++) {
        if (c.names[i] && i < c.materialised) {
            wchar_t *p = path_join(work_folder, c.names[i]);
            DeleteFileW(p);
            xfree(p);
        }
        xfree(c.names[i]);
    }
    xfree(c.names);
    g_chain = NULL;
    return error;
}

void cab_time_to_filetime(USHORT date, USHORT time, FILETIME *out)
{
    FILETIME local;
    if (!DosDateTimeToFileTime(date, time, &local) || !LocalFileTimeToFileTime(&local, out))
        GetSystemTimeAsFileTime(out);
}
