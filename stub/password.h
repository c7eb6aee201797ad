/* The installation password: the setup carries it transformed (field 29); what is typed is
 * transformed the same way and compared. */
#ifndef BVQ_STUB_PASSWORD_H
#define BVQ_STUB_PASSWORD_H

#include "setup_format.h"

/* The transformation of n bytes into out (n + 1 bytes with the terminator). */
void scramble_password(const unsigned char *in, size_t n, char *out);
/* The typed text is the password (in upper case when field 59 asks for it). */
int password_matches(const Script *s, const wchar_t *typed);

#endif
