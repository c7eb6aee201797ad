#include "install_decisions.h"
#include "password.h"

int system_refusal_bit(SystemVersion v)
{
    if (v.consumer_line)
        return v.minor == 0 ? REFUSE_95 : v.minor < 90 ? REFUSE_98 : REFUSE_ME;
    if (v.major < 5)
        return REFUSE_NT;
    if (v.major == 5)
        return v.minor == 0 ? REFUSE_2000 : v.minor == 1 ? REFUSE_XP : REFUSE_2003;
    if (v.major == 6 && v.minor == 0)
        return v.workstation ? REFUSE_VISTA : REFUSE_2008_7;
    return REFUSE_2008_7; /* 2008 R2, 7 and every later system */
}

ReplaceDecision replace_decision(long long mode, int newer)
{
    switch (mode) {
    case MODE_ASK:
        return REPLACE_ASK;
    case MODE_ASK_IF_NEWER:
        return newer ? REPLACE_ASK_NEWER : REPLACE_KEEP;
    case MODE_REPLACE:
        return REPLACE_WRITE;
    case MODE_REPLACE_IF_NEWER:
        return newer ? REPLACE_WRITE : REPLACE_KEEP;
    default:
        return REPLACE_KEEP;
    }
}

CheckResult password_check(const Script *s, const wchar_t *given, int silent)
{
    if (!*script_field(s, FLD_PASSWORD))
        return CHECK_PASSED;
    if (given)
        return password_matches(s, given) ? CHECK_PASSED : CHECK_PASSWORD_WRONG;
    return silent ? CHECK_PASSWORD_MISSING : CHECK_PASSED;
}
