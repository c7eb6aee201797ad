/* Registry roots by their numbers in the script and the uninstall log, and values read as
 * text. */
#ifndef BVQ_STUB_REGISTRY_H
#define BVQ_STUB_REGISTRY_H

#include "setup_format.h"

#include <windows.h>

HKEY registry_root_key(int number); /* a ROOT_ number; NULL for any other */
HKEY root_from_number(const wchar_t *number);

/* Reads a registry value as text: strings as they are, numbers in decimal, binary data in
 * hexadecimal; NULL when absent. */
wchar_t *registry_read_text(HKEY root, const wchar_t *subkey, const wchar_t *name);
/* registry_read_text as the RegistryTextFn of vars_read_user. */
wchar_t *registry_text_at(void *ctx, int root, const wchar_t *subkey, const wchar_t *name);

#endif
