/* The values of the built-in variable codes on this machine: its folders, user and computer
 * names, and the product names of the script. */
#ifndef BVQ_STUB_MACHINE_VARIABLES_H
#define BVQ_STUB_MACHINE_VARIABLES_H

#include "variables.h"

/* Fills the built-in table; the install path, language and user variables are set separately. */
void vars_init_machine(Variables *v, const Script *s, const wchar_t *setup_folder);

#endif
