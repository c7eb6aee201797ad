// The installation password of built setups: what is typed (or given with /P=) is compared
// with what the build stored, in upper case when the setup asks for it; before any change,
// a wrong /P= or a silent run without it stops the installation.
extern "C" {
#include "stub/install_decisions.h"
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

TEST_F(BuiltSetupTest, PasswordCheckBeforeAnyChange) {
  struct Case {
    const wchar_t* given;  // by /P=, nullptr when not
    bool silent;
    CheckResult result;
  };
  const Case protectedCases[] = {
      {L"Secret", true, CHECK_PASSED},          {L"Secret", false, CHECK_PASSED},
      {L"secret", true, CHECK_PASSWORD_WRONG},  {L"", false, CHECK_PASSWORD_WRONG},
      {nullptr, true, CHECK_PASSWORD_MISSING},  {nullptr, false, CHECK_PASSED},  // the wizard's page asks
  };
  p.askPassword = true;
  p.password = "Secret";
  {
    auto volumes = Build(false, 0);
    ASSERT_EQ(volumes.size(), 1u);
    OpenSetup s(volumes[0]);
    ASSERT_EQ(s.error, L"");
    for (const Case& c : protectedCases) {
      SCOPED_TRACE(testing::Message() << (c.given ? c.given : L"(none)") << (c.silent ? " silent" : " window"));
      EXPECT_EQ(password_check(&s.setup.script, c.given, c.silent), c.result);
    }
  }
  // Without a password whatever /P= says is not looked at.
  p.askPassword = false;
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  ASSERT_STREQ(script_field(&s.setup.script, FLD_PASSWORD), "");
  for (const wchar_t* given : {static_cast<const wchar_t*>(nullptr), L"anything"})
    for (bool silent : {true, false}) EXPECT_EQ(password_check(&s.setup.script, given, silent), CHECK_PASSED);
}

}  // namespace
}  // namespace bvq::test
