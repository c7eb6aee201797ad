// Path variables as the build writes them into the installer script.
#include "project/variables.h"

#include <gtest/gtest.h>

namespace bvq {
namespace {

Project DemoProject() {
  Project p;
  p.productName = "Demo";
  p.productVersion = "1.00";
  p.companyName = "Acme";
  return p;
}

TEST(SubstituteVariables, CodesAndProductValues) {
  Project p = DemoProject();
  struct Case { const char* in; const char* out; };
  const Case cases[] = {
      {"%ProductName% %PRODUCTVERSION% in %installpath%", "Demo 1.00 in @$&%04"},
      {"%ProgramFiles%\\%CompanyName%\\%ProductName%", "@$&%01\\Acme\\Demo"},
      {"disk%i%.pak", "disk@$&%19.pak"},
      {"%ShortTempDir%\\x", "@$&%45\\x"},
      {"%ProgramFiles64%", "@$&%36"},
      {"%SHORTPROGRAMFILES64%", "@$&%76"},
      {"%Unknown%\\%", "%Unknown%\\%"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SubstituteVariables(p, c.in), c.out) << c.in;
}

TEST(SubstituteVariables, UserVariablesNumberedFrom81AndAtMost19) {
  Project p = DemoProject();
  for (int i = 0; i < 20; ++i) p.registryVariables.AppendCells({"%V" + std::to_string(i) + "%", "HKEY_CURRENT_USER", "k", "", ""});
  p.registryVariables[0].Caption = "%Data%";
  EXPECT_EQ(SubstituteVariables(p, "%data%\\x"), "@$&%81\\x");
  EXPECT_EQ(SubstituteVariables(p, "%v2%"), "@$&%83");
  EXPECT_EQ(SubstituteVariables(p, "%V18%"), "@$&%99");
  EXPECT_EQ(SubstituteVariables(p, "%V19%"), "%V19%");  // the 20th receives no code
}

TEST(SubstituteVariables, ReplacementContainingItsOwnNameEnds) {
  Project p = DemoProject();
  p.productName = "%PRODUCTNAME%x";
  EXPECT_EQ(SubstituteVariables(p, "%productname%-%ProductName%"), "%PRODUCTNAME%x-%PRODUCTNAME%x");
  p.registryVariables.AppendCells({"%", "HKEY_CURRENT_USER", "k", "", ""});
  EXPECT_EQ(SubstituteVariables(p, "a%b"), "a@$&%81b");
}

TEST(ReservedVariables, TableShape) {
  const auto& t = ReservedVariables();
  EXPECT_EQ(t[1], "%PROGRAMFILES%");
  EXPECT_EQ(t[19], "%I%");
  EXPECT_EQ(t[36], "%PROGRAMFILES64%");
  for (int n : {37, 38, 39, 40, 59, 60, 65, 77, 80}) EXPECT_EQ(t[n], "") << n;
  EXPECT_EQ(t[41], "%SHORTPROGRAMFILES%");
  EXPECT_EQ(t[58], "%SHORTCURRENTDIR%");
  EXPECT_EQ(t[66], "%SHORTAPPDATA%");
  int shortForms = 0;
  for (const auto& s : t) shortForms += s.rfind("%SHORT", 0) == 0;
  EXPECT_EQ(shortForms, 29);
  EXPECT_TRUE(IsReservedVariableName("%programfiles%"));
  EXPECT_TRUE(IsReservedVariableName("%ShortTempDir%"));
  EXPECT_FALSE(IsReservedVariableName("%MyVar%"));
}

}  // namespace
}  // namespace bvq
