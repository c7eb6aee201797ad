/* The setup file as the installer finds it: its own file with the trailer at the end, the
 * script, the data block of side files and the payload, which may continue in volume files
 * beside the setup. */
#ifndef BVQ_STUB_SETUP_FILE_H
#define BVQ_STUB_SETUP_FILE_H

#include "os.h"
#include "setup_format.h"

#define COPY_PIECE 61440 /* bytes read or written at a time */

/* Asked when a volume is missing: 1 to look again, 0 to give up. */
typedef int (*AskVolumeFn)(void *ctx, int disk_number, const wchar_t *path);

typedef struct {
    wchar_t *path;        /* volume 0 */
    wchar_t *folder;      /* its folder, without trailing backslash */
    OsFile *file;
    unsigned long long size;    /* up to the certificate table of a signed setup */
    SetupTrailer trailer;
    Script script;
} SetupFile;

/* Opens and checks the setup; NULL on success, else the reason (to be freed). */
wchar_t *setup_open(SetupFile *s, const wchar_t *path);
void setup_close(SetupFile *s);

/* Sequential reader of the payload across volumes. */
typedef struct {
    SetupFile *setup;
    wchar_t *pattern;      /* script field 21: the volume name, code of %I% kept */
    OsFile *h;             /* the current volume (volume 0 is setup->file) */
    int volume;            /* 0-based */
    unsigned long long left; /* payload bytes left in the current volume */
    AskVolumeFn ask;
    void *ask_ctx;
    wchar_t *error;
    int missing_volume;    /* the error is a volume that could not be found */
} PayloadReader;

void payload_open(PayloadReader *r, SetupFile *s, AskVolumeFn ask, void *ask_ctx);
/* Reads exactly n bytes; 0 and r->error on failure. */
int payload_read(PayloadReader *r, void *buf, size_t n);
/* Where payload_copy puts the bytes: 1 when they are written. */
typedef int (*PayloadSinkFn)(void *sink_ctx, const void *bytes, size_t n);
/* Copies n bytes to sink (NULL: skips them), calling tick between pieces (0 cancels). */
int payload_copy(PayloadReader *r, PayloadSinkFn sink, void *sink_ctx, unsigned long long n,
                 int (*tick)(void *), void *ctx);
wchar_t *volume_path(const SetupFile *s, const wchar_t *pattern, int volume);
/* The cabinet form's payload: a chain of cabinets without their signatures, every one but
 * the last of the same size (fields 95, 117, 118). */
int payload_cabinet_count(const Script *s);
unsigned long long payload_cabinet_size(const Script *s, int index); /* 0-based */
void payload_close(PayloadReader *r);

/* Random-access read of volume 0. */
int setup_read_at(SetupFile *s, unsigned long long offset, void *buf, size_t n);

#endif
