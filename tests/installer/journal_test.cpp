// The uninstall log: written as UTF-16 text whatever the size of wchar_t, read back record
// for record, and undone in its order by the uninstaller and by a rollback.
#include "installer_support.h"

namespace bvq::test {
namespace {

struct Log {
  Log() { memset(&j, 0, sizeof j); }
  ~Log() { journal_free(&j); }
  Journal j;
};

std::vector<std::wstring> Records(const Journal& j) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < j.count; ++i) {
    std::wstring line(1, j.items[i].tag);
    for (int k = 0; k < j.items[i].count; ++k) line += L"|" + std::wstring(j.items[i].field[k]);
    out.push_back(line);
  }
  return out;
}

std::string Utf16(const std::u16string& s) {
  std::string b;
  for (char16_t c : s) {
    b.push_back(static_cast<char>(c & 0xff));
    b.push_back(static_cast<char>(c >> 8));
  }
  return b;
}

TEST(UninstallLog, WrittenAndReadBack) {
  TempFolder dir;
  const std::wstring path = Wide(dir.Path() + "uninstall.log");
  Log log;
  journal_add(&log.j, J_PRODUCT, 1, L"Tool 2.5");
  journal_add(&log.j, J_FOLDER, 1, L"C:\\Program Files\\Tool");
  journal_add(&log.j, J_FILE, 1, L"C:\\Program Files\\Tool\\caf\u00e9 \U0001F600.txt");
  journal_add(&log.j, J_ROLLBACK_FILE, 1, L"C:\\Program Files\\Tool\\kept.dat");
  journal_add(&log.j, J_REG_OLD, 5, L"1", L"Software\\Tool", L"Path", L"1", L"4300");
  journal_add(&log.j, J_INI, 3, L"C:\\a.ini", L"tab\there", L"line\r\nbreak\\end");
  journal_add(&log.j, J_COMMAND, 6, L"0", L"cmd.exe", L"", L"0", L"1", L"1");
  journal_add(&log.j, J_REG_DELETE, 3, L"1", L"Software\\Tool", L"");
  ASSERT_TRUE(journal_save(&log.j, path.c_str()));

  // On disk: UTF-16 little endian with its byte-order mark, a record per line, the fields
  // after tabs with tab, line break and backslash escaped; characters beyond 16 bits as
  // surrogate pairs.
  const std::string bytes = ReadFile(dir.Path() + "uninstall.log");
  EXPECT_EQ(bytes.substr(0, 2), "\xff\xfe");
  EXPECT_EQ(bytes.substr(2, 38), Utf16(u"[Uninstall log 1]\r\n"));
  EXPECT_NE(bytes.find(Utf16(u"F\tC:\\\\Program Files\\\\Tool\\\\caf\u00e9 \U0001F600.txt\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Utf16(u"I\tC:\\\\a.ini\ttab\\there\tline\\r\\nbreak\\\\end\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Utf16(u"Q\t1\tSoftware\\\\Tool\t\r\n")), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "uninstall.log.new"));

  // Read back: the same records, without those only a rollback needs.
  Log back;
  ASSERT_TRUE(journal_load(&back.j, path.c_str()));
  std::vector<std::wstring> expected;
  for (const std::wstring& r : Records(log.j))
    if (!journal_rollback_only(r[0])) expected.push_back(r);
  EXPECT_EQ(Records(back.j), expected);
  EXPECT_EQ(expected.size(), 6u);
  EXPECT_EQ(std::wstring(journal_find(&back.j, J_PRODUCT, 0)), L"Tool 2.5");
  EXPECT_EQ(journal_find(&back.j, J_WEB_PAGE, 0), nullptr);
}

TEST(UninstallLog, OtherFilesAreNoLog) {
  TempFolder dir;
  const std::string bom = "\xff\xfe";
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"one byte", "\xff"},
      {"no byte-order mark", Utf16(u"[Uninstall log 1]\r\nF\tC:\\x\r\n")},
      {"another heading", bom + Utf16(u"[Uninstall log 2]\r\n")},
      {"heading cut short", bom + Utf16(u"[Uninstall log")},
      {"eight-bit text", "\xff\xfe[Uninstall log 1]\r\n"},
  };
  for (const auto& [what, bytes] : cases) {
    WriteFile(dir.Path() + "x.log", bytes);
    Log log;
    EXPECT_FALSE(journal_load(&log.j, Wide(dir.Path() + "x.log").c_str())) << what;
  }
  Log log;
  EXPECT_FALSE(journal_load(&log.j, Wide(dir.Path() + "absent.log").c_str()));
  WriteFile(dir.Path() + "empty.log", bom + Utf16(u"[Uninstall log 1]\r\n"));
  EXPECT_TRUE(journal_load(&log.j, Wide(dir.Path() + "empty.log").c_str()));
  EXPECT_EQ(log.j.count, 0u);
}

// Undoing records: each one the undo function receives, as its tag and first field (the
// command of a command), and the steps.
struct Recorder {
  std::vector<std::wstring> done;
  bool stopAtFirstStep = false;
  static void Undo(UndoRun* run, const JournalRecord* r) {
    auto* rec = static_cast<Recorder*>(run->ctx);
    const int shown = r->tag == J_COMMAND ? CMD_COMMAND : 0;
    rec->done.push_back(std::wstring(1, r->tag) + L" " + (shown < r->count ? r->field[shown] : L""));
  }
  static int Step(void* ctx, int, const wchar_t* status) {
    auto* rec = static_cast<Recorder*>(ctx);
    rec->done.push_back(std::wstring(L"step ") + status);
    return !rec->stopAtFirstStep;
  }
};

// A log as an installation writes it: each thing after what it depends on.
void InstalledLog(Journal* j) {
  journal_add(j, J_PRODUCT, 1, L"Tool");
  journal_add(j, J_FOLDER, 1, L"C:\\Tool");
  journal_add(j, J_FOLDER, 1, L"C:\\Tool\\bin");
  journal_add(j, J_FILE, 1, L"C:\\Tool\\bin\\app.exe");
  journal_add(j, J_ROLLBACK_FILE, 1, L"C:\\Tool\\kept.dat");
  journal_add(j, J_REG_KEY, 2, L"1", L"Software\\Tool");
  journal_add(j, J_REG_OLD, 5, L"1", L"Software\\Tool", L"Old", L"0", L"4100");
  journal_add(j, J_REG_VALUE, 3, L"1", L"Software\\Tool", L"Path");
  journal_add(j, J_ROLLBACK_REG_VALUE, 3, L"1", L"Software\\Tool", L"Kept");
  journal_add(j, J_INI_OLD, 4, L"C:\\Tool\\a.ini", L"S", L"K", L"old");
  journal_add(j, J_INI, 3, L"C:\\Tool\\a.ini", L"S", L"K");
  journal_add(j, J_SHORTCUT, 1, L"C:\\Desktop\\Tool.lnk");
  journal_add(j, J_FONT, 2, L"Tool Sans (TrueType)", L"C:\\Fonts\\ToolSans.ttf");
  journal_add(j, J_ACTIVEX, 1, L"C:\\Tool\\bin\\tool.ocx");
  journal_add(j, J_PROGRAMS, 2, L"2", L"Software\\...\\Uninstall\\Tool");
  journal_add(j, J_COMMAND, 6, L"0", L"after.exe", L"", L"0", L"1", L"1");
  journal_add(j, J_COMMAND, 6, L"0", L"before.exe", L"", L"0", L"0", L"1");
  journal_add(j, J_DELETE, 2, L"2", L"C:\\Tool\\cache");
  journal_add(j, J_REG_DELETE, 3, L"1", L"Software\\Tool\\Cache", L"");
  journal_add(j, J_FILE, 1, L"C:\\Tool\\Uninstall.exe");
  journal_add(j, J_FILE, 1, L"C:\\Tool\\uninstall.log");
}

TEST(UninstallLog, UndoOrder) {
  struct Case {
    const char* what;
    bool uninstalling;
    std::vector<std::wstring> expected;
  };
  const std::vector<Case> cases = {
      {"uninstaller",
       true,
       {L"step Running uninstall commands...", L"J before.exe",
        L"X C:\\Tool\\bin\\tool.ocx", L"N Tool Sans (TrueType)",
        L"step Removing shortcuts...", L"S C:\\Desktop\\Tool.lnk",
        L"step Removing registry values...", L"I C:\\Tool\\a.ini", L"R 1", L"K 1",
        L"step Removing files...", L"F C:\\Tool\\uninstall.log", L"F C:\\Tool\\bin\\app.exe",
        L"L 2", L"Q 1",
        L"D C:\\Tool\\bin", L"D C:\\Tool",
        L"J after.exe",
        L"A 2"}},
      {"rollback",
       false,
       {L"X C:\\Tool\\bin\\tool.ocx", L"N Tool Sans (TrueType)",
        L"step Removing shortcuts...", L"S C:\\Desktop\\Tool.lnk",
        L"step Removing registry values...", L"I C:\\Tool\\a.ini", L"o C:\\Tool\\a.ini", L"r 1", L"R 1", L"O 1",
        L"K 1",
        L"step Removing files...", L"F C:\\Tool\\uninstall.log", L"F C:\\Tool\\Uninstall.exe",
        L"f C:\\Tool\\kept.dat", L"F C:\\Tool\\bin\\app.exe",
        L"D C:\\Tool\\bin", L"D C:\\Tool",
        L"A 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Log log;
    InstalledLog(&log.j);
    Recorder rec;
    UndoRun run = {};
    run.uninstalling = c.uninstalling;
    run.keep_file = c.uninstalling ? L"c:\\tool\\UNINSTALL.EXE" : nullptr;  // the running uninstaller
    run.progress = Recorder::Step;
    run.ctx = &rec;
    run.undo = Recorder::Undo;
    journal_undo(&log.j, &run);
    EXPECT_EQ(rec.done, c.expected);
  }
}

TEST(UninstallLog, UninstallStoppedBeforeItBegins) {
  Log log;
  InstalledLog(&log.j);
  Recorder rec;
  rec.stopAtFirstStep = true;
  UndoRun run = {};
  run.uninstalling = 1;
  run.progress = Recorder::Step;
  run.ctx = &rec;
  run.undo = Recorder::Undo;
  journal_undo(&log.j, &run);
  EXPECT_EQ(rec.done, std::vector<std::wstring>{L"step Running uninstall commands..."});
}

}  // namespace
}  // namespace bvq::test
