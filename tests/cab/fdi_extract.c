/* Extracts a cabinet set with the system cabinet library (FDI), the way an installer
   does: FDICopy on each cabinet of the chain in turn, files already extracted skipped,
   files continued from a previous cabinet acknowledged.
   Usage: fdi_extract FIRST.CAB OUTDIR\      or   fdi_extract /info CABINET        */
#include <windows.h>
#include <fdi.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

static char outdir[MAX_PATH];
static char nextcab[MAX_PATH];
static char done[4096][256];
static int ndone;

FNALLOC(mem_alloc) { return malloc(cb); }
FNFREE(mem_free) { free(pv); }
FNOPEN(file_open) { return _open(pszFile, oflag, pmode); }
FNREAD(file_read) { return _read((int)hf, pv, cb); }
FNWRITE(file_write) { return _write((int)hf, pv, cb); }
FNCLOSE(file_close) { return _close((int)hf); }
FNSEEK(file_seek) { return _lseek((int)hf, dist, seektype); }

static int seen(const char *name) {
  for (int i = 0; i < ndone; i++)
    if (!strcmp(done[i], name)) return 1;
  return 0;
}

FNFDINOTIFY(notify) {
  char path[MAX_PATH * 2];
  switch (fdint) {
    case fdintCABINET_INFO:
      printf("cabinet next=%s disk=%s set=%d icab=%d\n", pfdin->psz1, pfdin->psz2, pfdin->setID,
             pfdin->iCabinet);
      if (!nextcab[0]) strcpy(nextcab, pfdin->psz1);
      return 0;
    case fdintPARTIAL_FILE:
      printf("partial %s\n", pfdin->psz1);
      return 0;
    case fdintCOPY_FILE:
      if (seen(pfdin->psz1)) return 0;
      snprintf(path, sizeof path, "%s%s", outdir, pfdin->psz1);
      for (char *p = path + strlen(outdir); *p; p++)
        if (*p == '\\') { *p = 0; CreateDirectoryA(path, NULL); *p = '\\'; }
      printf("copy %s %ld\n", pfdin->psz1, (long)pfdin->cb);
      strcpy(done[ndone++], pfdin->psz1);
      return _open(path, _O_BINARY | _O_CREAT | _O_WRONLY | _O_TRUNC, _S_IREAD | _S_IWRITE);
    case fdintCLOSE_FILE_INFO:
      _close((int)pfdin->hf);
      return TRUE;
    case fdintNEXT_CABINET:
      printf("next %s\n", pfdin->psz1);
      return 0;
    default:
      return 0;
  }
}

int main(int argc, char **argv) {
  ERF erf;
  HFDI fdi = FDICreate(mem_alloc, mem_free, file_open, file_read, file_write, file_close,
                       file_seek, cpu80386, &erf);
  if (!fdi) { printf("FDICreate failed %d\n", erf.erfOper); return 2; }
  if (argc == 3 && !strcmp(argv[1], "/info")) {
    FDICABINETINFO info;
    int h = _open(argv[2], _O_BINARY | _O_RDONLY);
    if (h < 0 || !FDIIsCabinet(fdi, h, &info)) { printf("not a cabinet\n"); return 1; }
    printf("size=%ld folders=%d files=%d set=%d icab=%d prev=%d next=%d\n", info.cbCabinet,
           info.cFolders, info.cFiles, info.setID, info.iCabinet, info.hasprev, info.hasnext);
    return 0;
  }
  if (argc != 3) return 2;
  strcpy(outdir, argv[2]);
  char dir[MAX_PATH], name[MAX_PATH];
  const char *slash = strrchr(argv[1], '\\');
  snprintf(dir, sizeof dir, "%.*s", (int)(slash - argv[1] + 1), argv[1]);
  strcpy(name, slash + 1);
  for (int n = 0; name[0] && n < 1000; n++) {
    nextcab[0] = 0;
    printf("FDICopy %s\n", name);
    if (!FDICopy(fdi, name, dir, 0, notify, NULL, NULL)) {
      printf("FDICopy failed %d\n", erf.erfOper);
      return 1;
    }
    strcpy(name, nextcab);
  }
  FDIDestroy(fdi);
  return 0;
}
