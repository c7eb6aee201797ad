/* Unpacking cabinets through the system's cabinet library (FDI). The setup holds cabinets
 * without their signature and possibly split over volumes, so each cabinet is first given
 * back as a file of its own in a private work folder (with its signature), on demand and in
 * order, and removed once FDI has moved past it. */
#ifndef BVQ_STUB_CABINET_H
#define BVQ_STUB_CABINET_H

#include <windows.h>

typedef struct {
    void *ctx;
    /* Writes cabinet number index (0-based), signature included, to path; 1 on success. */
    int (*materialise)(void *ctx, int index, const wchar_t *path);
    /* A file of the cabinet begins: return a handle to write its bytes to, NULL to skip it,
     * or set *abort. date/time are the cabinet's MS-DOS local time stamp. */
    HANDLE (*open_file)(void *ctx, const char *name, long size, USHORT date, USHORT time,
                        USHORT attributes, int *abort);
    /* The file's bytes are written; the sink closes the handle. 1 on success. */
    int (*close_file)(void *ctx, HANDLE h, const char *name, USHORT date, USHORT time,
                      USHORT attributes);
    /* Lets the caller show progress and cancel: return 0 to abort. */
    int (*tick)(void *ctx);
} CabSink;

/* Extracts every file of the chain of count cabinets. work_folder must exist and be private.
 * Returns NULL on success, else a description of the failure (to be freed). */
wchar_t *cab_extract_chain(CabSink *sink, int count, const wchar_t *work_folder);

/* Converts the MS-DOS date and time of a cabinet entry into a UTC file time. */
void cab_time_to_filetime(USHORT date, USHORT time, FILETIME *out);

#endif
