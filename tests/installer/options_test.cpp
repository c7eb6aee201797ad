// The switches of the installer's and the uninstaller's command line.
#include "installer_support.h"

namespace bvq::test {
namespace {

struct Parsed {
  explicit Parsed(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"C:\\Setup.exe");
    std::vector<wchar_t*> argv;
    for (auto& a : args) argv.push_back(a.data());
    options_parse_args(&o, static_cast<int>(argv.size()), argv.data());
  }
  ~Parsed() { options_free(&o); }
  static std::wstring Text(const wchar_t* s) { return s ? s : L"(none)"; }
  Options o;
};

TEST(InstallerOptions, Switches) {
  struct Case {
    std::vector<std::wstring> args;
    int silent;
    std::wstring folder, log, password, language;
  };
  const std::wstring none = L"(none)";
  const std::vector<Case> cases = {
      {{}, 0, none, none, none, none},
      {{L"/S"}, 1, none, none, none, none},
      {{L"/s"}, 1, none, none, none, none},
      {{L"-S"}, 1, none, none, none, none},
      {{L"/SILENT"}, 1, none, none, none, none},
      {{L"/Sx"}, 0, none, none, none, none},
      {{L"/log=C:\\setup.log", L"/p=Secret", L"/l=1031"}, 0, none, L"C:\\setup.log", L"Secret", L"1031"},
      // /D= takes the rest of the line, blanks included, without a trailing backslash.
      {{L"/S", L"/D=C:\\Program", L"Files\\My", L"App\\"}, 1, L"C:\\Program Files\\My App", none, none, none},
      {{L"/D=C:\\App", L"/S"}, 0, L"C:\\App /S", none, none, none},
      {{L"/D=C:\\"}, 0, L"C:\\", none, none, none},
      {{L"/unknown", L"/P="}, 0, none, none, L"", none},
  };
  for (const Case& c : cases) {
    Parsed p(c.args);
    std::wstring line;
    for (const auto& a : c.args) line += a + L" ";
    SCOPED_TRACE(std::string(line.begin(), line.end()));
    EXPECT_EQ(p.o.silent, c.silent);
    EXPECT_EQ(Parsed::Text(p.o.folder), c.folder);
    EXPECT_EQ(Parsed::Text(p.o.log), c.log);
    EXPECT_EQ(Parsed::Text(p.o.password), c.password);
    EXPECT_EQ(Parsed::Text(p.o.language), c.language);
  }
}

TEST(InstallerOptions, TemporaryUninstallerCopy) {
  Parsed p({L"/ORIGIN=C:\\App\\Uninstall.exe", L"/PARENT=1234", L"/REPORT=88", L"/S"});
  EXPECT_EQ(Parsed::Text(p.o.origin), L"C:\\App\\Uninstall.exe");
  EXPECT_EQ(p.o.parent, 1234u);
  EXPECT_EQ(p.o.report, 88u);
  EXPECT_EQ(p.o.silent, 1);
}

}  // namespace
}  // namespace bvq::test
