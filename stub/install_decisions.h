/* The installer's decisions for given facts, in plain C with no system calls and no prompts:
 * the checks gather the facts, the caller (the window run or the silent run) acts on the
 * answer. */
#ifndef BVQ_STUB_INSTALL_DECISIONS_H
#define BVQ_STUB_INSTALL_DECISIONS_H

#include "setup_format.h"

/* What a check before any change found wrong. */
typedef enum {
    CHECK_PASSED,
    CHECK_SYSTEM_REFUSED,
    CHECK_ADMIN_REQUIRED,
    CHECK_NET_MISSING,
    CHECK_PASSWORD_WRONG,    /* /P= gave another password */
    CHECK_PASSWORD_MISSING,  /* a silent run without /P= */
} CheckResult;

/* The running system as the version query reports it. */
typedef struct {
    int consumer_line;   /* the 95/98/Me family */
    unsigned major, minor;
    int workstation;     /* a desktop edition rather than a server */
} SystemVersion;

/* The refused-systems bit (REFUSE_*) that stands for this system. */
int system_refusal_bit(SystemVersion v);

/* What to do with a packed file whose destination already holds a file. */
typedef enum {
    REPLACE_KEEP,            /* leave the existing file */
    REPLACE_WRITE,           /* write over it */
    REPLACE_ASK,             /* ask whether to replace it */
    REPLACE_ASK_NEWER,       /* ask, saying the packed file is newer */
} ReplaceDecision;

/* mode is the file's if-exists mode (MODE_*); newer tells whether the packed file is newer
 * than the existing one. */
ReplaceDecision replace_decision(long long mode, int newer);

/* The setup's password before any change: given (by /P=, NULL when not) it must match; a
 * silent run must give it; a run with a window passes without it, as the wizard's password
 * page asks for it. */
CheckResult password_check(const Script *s, const wchar_t *given, int silent);

#endif
