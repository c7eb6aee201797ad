// The installation password of built setups: what is typed (or given with /P=) is compared
// with what the build stored, in upper case when the setup asks for it.
extern "C" {
#include "stub/password.h"
}
#include "installer_support.h"

namespace bvq::test {
namespace {

TEST_F(BuiltSetupTest, PasswordTypedIsComparedWithTheStoredOne) {
  struct Case {
    const char* password;  // as the author typed it
    bool upperCase;
    std::vector<std::pair<const wchar_t*, bool>> typed;
  };
  const std::vector<Case> cases = {
      {"Secret 7", false, {{L"Secret 7", true}, {L"secret 7", false}, {L"Secret", false}, {L"Secret 77", false}, {L"", false}}},
      {"SECRET", true, {{L"secret", true}, {L"SeCrEt", true}, {L"SECRET", true}, {L"secre", false}}},
      {"caf\xe9", false, {{L"caf\u00e9", true}, {L"cafe", false}}},  // Windows-1252 text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.password);
    p.askPassword = true;
    p.password = c.password;
    p.passwordUpperCase = c.upperCase;
    auto volumes = Build(false, 0);
    ASSERT_EQ(volumes.size(), 1u);
    OpenSetup s(volumes[0]);
    ASSERT_EQ(s.error, L"");
    ASSERT_STRNE(script_field(&s.setup.script, FLD_PASSWORD), "");
    for (const auto& [typed, matches] : c.typed) EXPECT_EQ(password_matches(&s.setup.script, typed), matches) << typed;
  }
}

}  // namespace
}  // namespace bvq::test
