// Substitution of the variable codes "@$&%NN" and the values the neutral code gives the
// install folder, the language and the user variables.
#include "installer_support.h"

namespace bvq::test {
namespace {

struct Table {
  Table() { memset(&v, 0, sizeof v); }
  ~Table() { vars_free(&v); }
  Variables v;
};

TEST(VariableSubstitution, ReplacesKnownCodesOnly) {
  Table t;
  vars_set(&t.v, VAR_PROGRAMFILES, L"C:\\Program Files");
  vars_set(&t.v, VAR_INSTALLPATH, L"C:\\Target");
  vars_set(&t.v, VAR_CURRENTDIR, L"D:\\Setup");
  vars_set(&t.v, VAR_PRODUCTNAME, L"Tool");
  vars_set(&t.v, VAR_FIRST_USER, L"@$&%04 stays as written");
  struct Case {
    const wchar_t* text;
    const wchar_t* expanded;
  };
  const Case cases[] = {
      {L"@$&%04\\app.exe", L"C:\\Target\\app.exe"},
      {L"@$&%01\\@$&%23\\@$&%23", L"C:\\Program Files\\Tool\\Tool"},
      {L"x@$&%04@$&%23y", L"xC:\\TargetTooly"},
      {L"@$&%81", L"@$&%04 stays as written"},  // an inserted value is not searched again
      {L"@$&%05\\t", L"@$&%05\\t"},             // a code without a value stays
      {L"@$&%4", L"@$&%4"},                     // too short
      {L"@$&%0x", L"@$&%0x"},
      {L"@$&@$&%04", L"@$&C:\\Target"},
      // Short forms: 40 + n for n = 1..18 and 26..36 (the path itself here, where the file
      // system has no short names).
      {L"@$&%44", L"C:\\Target"},
      {L"@$&%41", L"C:\\Program Files"},
      {L"@$&%58", L"D:\\Setup"},
      {L"@$&%63", L"@$&%63"},  // 40 + 23 is no short form: the product name has none
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(Take(vars_expand(&t.v, c.text)), c.expanded) << c.text;
  EXPECT_EQ(Take(vars_expand(&t.v, nullptr)), L"");
}

TEST(VariableSubstitution, LanguageNameIsTheCaptionBeforeItsParenthesis) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"English", L"English"}, {"Deutsch (German)", L"Deutsch"}, {"A (b) (c)", L"A"}, {"(x)", L"(x)"}};
  for (const auto& [caption, name] : cases) {
    Table t;
    vars_set_language(&t.v, caption);
    EXPECT_EQ(std::wstring(t.v.value[VAR_LANGUAGE]), name) << caption;
  }
}

// What the registry holds for the user variables in these tests: one value, by root and key.
struct Lookup {
  int root = -1;
  std::wstring subkey, name, value;
  std::vector<std::wstring> asked;
  static wchar_t* Read(void* ctx, int root, const wchar_t* subkey, const wchar_t* name) {
    auto* l = static_cast<Lookup*>(ctx);
    l->asked.push_back(std::to_wstring(root) + L":" + subkey + L":" + name);
    return root == l->root && subkey == l->subkey && name == l->name ? w_dup(l->value.c_str()) : nullptr;
  }
};

// The user variable of the built setup: its key names the product, its default the install
// folder, which is chosen after the variables are read.
TEST_F(BuiltSetupTest, UserVariableFromDefaultOrRegistry) {
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  struct Case {
    const char* what;
    std::wstring stored;  // "" when the value is absent
    std::wstring expected;
  };
  const Case cases[] = {{"absent: the default", L"", L"D:\\Apps\\Tool\\data"},
                        {"present: the value", L"E:\\Shared", L"E:\\Shared"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Table t;
    vars_set_product(&t.v, &s.setup.script);
    Lookup registry;
    if (!c.stored.empty()) {
      registry.root = ROOT_CURRENT_USER;
      registry.subkey = L"Software\\Tool";
      registry.name = L"Data";
      registry.value = c.stored;
    }
    vars_read_user(&t.v, &s.setup.script, Lookup::Read, &registry);
    EXPECT_EQ(registry.asked, std::vector<std::wstring>{L"1:Software\\Tool:Data"});
    vars_set_install_path(&t.v, L"D:\\Apps\\Tool");
    EXPECT_EQ(Take(vars_expand_a(&t.v, script_value(&s.setup.script, SEC_G, 1, G_DEST))), c.expected + L"\\readme.txt");
    EXPECT_EQ(Take(vars_expand_a(&t.v, script_value(&s.setup.script, SEC_G, 0, G_DEST))), L"D:\\Apps\\Tool\\app.bin");
  }
}

TEST_F(BuiltSetupTest, InstallFolderFromTheScript) {
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  Table t;
  vars_set(&t.v, VAR_PROGRAMFILES, L"C:\\Programs");
  vars_set_product(&t.v, &s.setup.script);
  EXPECT_EQ(Take(vars_expand_a(&t.v, script_field(&s.setup.script, FLD_INSTALL_PATH))), L"C:\\Programs\\Acme\\Tool");
}

}  // namespace
}  // namespace bvq::test
