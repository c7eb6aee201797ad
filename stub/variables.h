/* Values of the variable codes "@$&%NN" and their substitution: the built-in folders and
 * names (computed on the machine by machine_variables.h), their short (8.3) forms, and the
 * user variables of section B. */
#ifndef BVQ_STUB_VARIABLES_H
#define BVQ_STUB_VARIABLES_H

#include "setup_format.h"

typedef struct {
    wchar_t *value[VAR_MAX + 1]; /* NULL: the code stays as written */
} Variables;

void vars_set(Variables *v, int number, const wchar_t *value);
void vars_take(Variables *v, int number, wchar_t *value); /* value becomes the table's */
/* The product name, version and company of the script. */
void vars_set_product(Variables *v, const Script *s);
/* The install language's name: its caption without the part in parentheses. */
void vars_set_language(Variables *v, const char *caption);

/* A registry value read as text (NULL when absent); root is a ROOT_ number or -1. */
typedef wchar_t *(*RegistryTextFn)(void *ctx, int root, const wchar_t *subkey, const wchar_t *name);
/* Sets the user variables of section B (after the built-ins, which they may use): the
 * registry value when read() finds it, else the default. */
void vars_read_user(Variables *v, const Script *s, RegistryTextFn read, void *ctx);
/* Sets the install folder; the user variables may name it, so they are expanded again. */
void vars_set_install_path(Variables *v, const wchar_t *path);

/* Replaces every known code; inserted values are not searched again. */
wchar_t *vars_expand(const Variables *v, const wchar_t *text);
wchar_t *vars_expand_a(const Variables *v, const char *ansi);
void vars_free(Variables *v);

#endif
