/* The installer's decisions for given facts, in plain C with no system calls and no prompts:
 * the checks gather the facts, the caller (the window run or the silent run) acts on the
 * answer. */
#ifndef BVQ_STUB_INSTALL_DECISIONS_H
#define BVQ_STUB_INSTALL_DECISIONS_H

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

#endif
