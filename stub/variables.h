/* Values of the variable codes "@$&%NN" on this machine: the built-in folders and names,
 * their short (8.3) forms, and the user variables read from the registry. */
#ifndef BVQ_STUB_VARIABLES_H
#define BVQ_STUB_VARIABLES_H

#include "setup_format.h"

typedef struct {
    wchar_t *value[VAR_MAX + 1]; /* NULL: the code stays as written */
} Variables;

/* Fills the built-in table; the install path, language and disk number are set separately. */
void vars_init_builtin(Variables *v, const Script *s, const wchar_t *setup_folder);
/* Reads the user variables of section B (after the built-ins, which they may use). */
void vars_read_user(Variables *v, const Script *s);
void vars_set(Variables *v, int number, const wchar_t *value);
/* Replaces every known code; inserted values are not searched again. */
wchar_t *vars_expand(const Variables *v, const wchar_t *text);
wchar_t *vars_expand_a(const Variables *v, const char *ansi);
void vars_free(Variables *v);

/* Reads a registry value as text: strings as they are, numbers in decimal, binary data in
 * hexadecimal; NULL when absent. */
wchar_t *registry_read_text(HKEY root, const wchar_t *subkey, const wchar_t *name);

#endif
