#include "password.h"
#include "text.h"

#include <string.h>

void scramble_password(const unsigned char *s, size_t n, char *out)
{
    unsigned a = 0;
    for (size_t i = 1; i <= n; i++) {
        unsigned si = s[i - 1];
        a = a * (unsigned)(n - i + 1) + si;
        unsigned x = si * a + (unsigned)i;
        do {
            x %= 90;
            if (x < 48)
                x += 48;
        } while (!(x >= 48 && x <= 90));
        out[i - 1] = (char)x;
    }
    out[n] = 0;
}

int password_matches(const Script *s, const wchar_t *typed)
{
    const char *want = script_field(s, FLD_PASSWORD);
    wchar_t *w = w_dup(typed);
    if (script_number(s, FLD_PASSWORD_MODE) & PASSWORD_UPPER_CASE)
        os_upper_case(w);
    char *a = ansi_from_w(w);
    size_t n = strlen(a);
    char *got = xalloc(n + 1);
    scramble_password((const unsigned char *)a, n, got);
    int ok = strcmp(got, want) == 0;
    xfree(got);
    xfree(a);
    xfree(w);
    return ok;
}
