// Saving and loading project files: layout, round trips of every slot and list, damaged
// files, atomic saving, export and import of the project text.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "project/old_project_versions.h"
#include "project/project_codec.h"
#include "project/project_file.h"
#include "project/slot_table.h"
#include "project_test_support.h"
#include "util/strings.h"

namespace bvq::test {
namespace {

class ProjectFileTest : public ProjectTest {
 protected:
  // A project in which every slot differs from its new-project default.
  void FillEverySlot(Project& p) {
    for (const SlotInfo& slot : SlotTable()) {
      const std::string def = SlotDefaultValue(slot.Number, context_);
      switch (slot.Kind) {
        case SlotKind::Text:
          if (slot.Number != 62) ASSERT_TRUE(slot.Set(p, "value of slot " + std::to_string(slot.Number)));
          break;
        case SlotKind::Flag:
          ASSERT_TRUE(slot.Set(p, def == "1" ? "0" : "1"));
          break;
        case SlotKind::Index:
          ASSERT_TRUE(slot.Set(p, def == "1" ? "0" : "1"));
          break;
        case SlotKind::Number:
          ASSERT_TRUE(slot.Set(p, std::to_string(100 + slot.Number)));
          break;
        case SlotKind::PackedList:
        case SlotKind::Reserved:
          break;
      }
    }
    p.SetLanguageChecked(0, true);   // Deutsch
    p.SetLanguageChecked(1, false);  // English
    p.SetLanguageChecked(2, true);   // Russian
    p.licenseFiles = {"lic all.rtf", "", "lic ru.rtf"};
    p.infoFiles = {"", "info de.txt", ""};
    for (auto& item : p.supportedSystems) item.Checked = false;
    p.supportedSystems[2].Checked = p.supportedSystems[5].Checked = true;
    for (int list = 1; list <= kEntryListCount; ++list) {
      EntryList& entries = p.EntryListAt(list);
      for (int row = 0; row < list; ++row) {
        std::vector<std::string> cells;
        for (int c = 0; c < entries.ColumnCount(); ++c)
          cells.push_back("L" + std::to_string(list) + " r" + std::to_string(row) + " c" + std::to_string(c));
        entries.AppendCells(cells);
      }
    }
    p.files[0].SubItems[2] = "";  // an empty cell survives too
  }

  std::string Save(Project& p, ProjectSession& session, const std::string& name = "demo.bvq") {
    const std::string path = folder_.Path() + name;
    EXPECT_TRUE(SaveProject(p, session, path, context_));
    return path;
  }
  std::string Save(const std::string& name = "demo.bvq") { return Save(project_, session_, name); }
  std::string TextOf(const std::string& path) {
    const Outcome<std::string> text = ExportProjectText(path);
    EXPECT_TRUE(text) << text.error();
    return text ? *text : std::string();
  }
  // Writes a project file from a text.
  std::string WriteText(const std::string& text, const std::string& name = "made.bvq") {
    return folder_.Write(name, MakeProjectFileBytes(text));
  }
};

TEST_F(ProjectFileTest, EverySlotAndListSurvivesSaveAndLoad) {
  Project saved = project_;
  ProjectSession savedSession(saved);
  FillEverySlot(saved);
  const std::string path = Save(saved, savedSession);

  Project loaded = project_;  // a new project, then the file
  ProjectSession loadedSession(loaded);
  loadedSession.modified = true;
  ASSERT_TRUE(LoadProject(loaded, loadedSession, path, context_));
  for (const SlotInfo& slot : SlotTable()) {
    if (slot.Get) EXPECT_EQ(slot.Get(loaded), slot.Get(saved)) << "slot " << slot.Number << " " << slot.Holder;
  }
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(loaded.filePath, path);
  EXPECT_FALSE(loadedSession.modified);
}

TEST_F(ProjectFileTest, TextLayout) {
  project_.files.AppendCells({"a.txt", "%InstallPath%\\a.txt", "E236", "Yes"});
  project_.fonts.AppendCells({"Font", "f.ttf"});
  const std::string path = Save();
  const std::string bytes = folder_.Read(path);
  ASSERT_EQ(bytes.substr(0, 31), "Belvandorithquessal Project v.3");
  const uint32_t length = static_cast<unsigned char>(bytes[31]) | static_cast<unsigned char>(bytes[32]) << 8 |
                          static_cast<unsigned char>(bytes[33]) << 16 | static_cast<unsigned char>(bytes[34]) << 24;
  EXPECT_EQ(length, bytes.size() - 35);

  const std::string text = TextOf(path);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const auto lines = SplitText("\r\n", text);
  ASSERT_EQ(lines.size(), 7 + 6 + 1 + 128 + 1 + 11 + 1 + 11 + 4 + 2 + 1);
  EXPECT_EQ(lines[0], "[INFO]");
  EXPECT_EQ(lines[1].rfind("Belvandorithquessal " + ProgramVersion() + " | ", 0), 0u);
  EXPECT_EQ(lines[2], path);
  EXPECT_EQ(lines[7], "[HEADER]");
  EXPECT_EQ(lines[8], ProgramVersion());
  EXPECT_EQ(lines[9], "English");
  EXPECT_EQ(lines[10], "128");
  EXPECT_EQ(lines[11], "130");
  EXPECT_EQ(lines[12], "11");
  EXPECT_EQ(lines[13], "[CONTROLS]");
  EXPECT_EQ(lines[13 + 29], "NewProduct");                           // slot 29
  EXPECT_EQ(lines[13 + 9], lines[13 + 62]);                          // slots 9 and 62
  EXPECT_EQ(lines[13 + 64], "");                                     // reserved
  EXPECT_EQ(DecodeText(lines[13 + 23]), "English\r\n");  // Deutsch unchecked, English, Russian unchecked
  std::size_t at = 14 + 128;
  EXPECT_EQ(lines[at++], "[LIST_COUNT_DATA_SIZE]");
  const std::vector<std::string> columns = {"7", "7", "4", "6", "6", "6", "2", "2", "3", "5", "2"};
  for (const auto& c : columns) EXPECT_EQ(lines[at++], c);
  EXPECT_EQ(lines[at++], "[LIST_COUNT_DATA_LIST_SIZE]");
  const std::vector<std::string> counts = {"0", "0", "1", "0", "0", "0", "0", "0", "0", "0", "1"};
  for (const auto& c : counts) EXPECT_EQ(lines[at++], c);
  const std::vector<std::string> entries = {"a.txt", "%InstallPath%\\a.txt", "E236", "Yes", "Font", "f.ttf"};
  for (const auto& e : entries) EXPECT_EQ(lines[at++], e);
  EXPECT_EQ(lines[at++], "[END_PROJECT]");
}

TEST_F(ProjectFileTest, LineBreaksInsideValuesDoNotBreakTheFile) {
  project_.productName = "two\r\nlines";
  project_.fonts.AppendCells({"a\nb", "c"});
  const std::string path = Save();
  Project loaded = project_;
  ProjectSession loadedSession(loaded);
  ASSERT_TRUE(LoadProject(loaded, loadedSession, path, context_));
  EXPECT_EQ(loaded.productName, "two  lines");
  ASSERT_EQ(loaded.fonts.size(), 1u);
  EXPECT_EQ(loaded.fonts[0].Caption, "a b");
  EXPECT_EQ(loaded.fonts[0].SubItems[0], "c");
}

TEST_F(ProjectFileTest, ScrambleRoundTripThroughLongFile) {
  for (int i = 0; i < 300; ++i) project_.files.AppendCells({"file" + std::to_string(i), "dest", "E236", "No"});
  const std::string path = Save();
  Project loaded;
  ProjectSession loadedSession(loaded);
  loaded.SetInstallLanguages({"Deutsch (Deutsch)", "English", "Russian (Russki)"});
  ASSERT_TRUE(LoadProject(loaded, loadedSession, path, context_));
  EXPECT_EQ(loaded.files, project_.files);
}

// The text of a file as an older writer made it: header values and slot lines given.
std::string OldText(const std::string& version, const std::vector<std::string>& slots,
                    const std::vector<int>& columns = {}, const std::vector<int>& rows = {},
                    const std::vector<std::string>& entries = {}) {
  std::string text = "[INFO]\r\nbanner\r\npath\r\nuser\r\norg\r\nmail\r\ntime\r\n[HEADER]\r\n" + version +
                     "\r\nEnglish\r\n" + std::to_string(slots.size()) + "\r\n0\r\n" + std::to_string(columns.size()) +
                     "\r\n[CONTROLS]\r\n";
  for (const auto& s : slots) text += s + "\r\n";
  text += "[LIST_COUNT_DATA_SIZE]\r\n";
  for (int c : columns) text += std::to_string(c) + "\r\n";
  text += "[LIST_COUNT_DATA_LIST_SIZE]\r\n";
  for (int r : rows) text += std::to_string(r) + "\r\n";
  for (const auto& e : entries) text += e + "\r\n";
  return text + "[END_PROJECT]\r\n";
}

// The slot lines of the current project, with some replaced.
std::vector<std::string> SlotLines(const Project& p, std::initializer_list<std::pair<int, std::string>> changes) {
  std::vector<std::string> lines;
  for (const SlotInfo& slot : SlotTable()) lines.push_back(slot.Get ? slot.Get(p) : std::string());
  for (const auto& [slot, value] : changes) lines[slot - 1] = value;
  return lines;
}

TEST_F(ProjectFileTest, ShorterSlotListLeavesLaterSlotsAlone) {
  project_.showFinishPage = false;      // slot 123
  project_.uninstallerCloseAppText = "keep";   // slot 119
  project_.dotNetVersion = 3;           // slot 112
  auto lines = SlotLines(Project(), {{29, "Short"}});
  lines.resize(100);
  const std::string path = WriteText(OldText("5.04", lines, {7}, {0}));
  Project before = project_;
  ASSERT_TRUE(LoadProject(project_, session_, path, context_));
  EXPECT_EQ(project_.productName, "Short");
  EXPECT_FALSE(project_.showFinishPage);
  EXPECT_EQ(project_.uninstallerCloseAppText, "keep");
  EXPECT_EQ(project_.dotNetVersion, 3);
  for (int slot = 101; slot <= 128; ++slot)
    if (SlotAt(slot).Get) EXPECT_EQ(SlotAt(slot).Get(project_), SlotAt(slot).Get(before)) << slot;
}

TEST_F(ProjectFileTest, ListWithOneColumnReadsCaptionsOnly) {
  const auto lines = SlotLines(project_, {});
  const std::string path =
      WriteText(OldText("5.04", lines, {7, 7, 1, 6}, {0, 0, 2, 1}, {"a", "b", "cmd", "x", "y", "z", "w", "v"}));
  ASSERT_TRUE(LoadProject(project_, session_, path, context_));
  ASSERT_EQ(project_.files.size(), 2u);
  EXPECT_EQ(project_.files[0].Caption, "a");
  EXPECT_EQ(project_.files[1].Caption, "b");
  EXPECT_EQ(project_.files[1].SubItems, std::vector<std::string>(3));
  ASSERT_EQ(project_.installCommands.size(), 1u);
  EXPECT_EQ(project_.installCommands[0].Caption, "cmd");
  EXPECT_EQ(project_.installCommands[0].SubItems, (std::vector<std::string>{"x", "y", "z", "w", "v"}));
}

TEST_F(ProjectFileTest, VersionNumbers) {
  struct Case {
    const char* line;
    std::optional<int> version;
  };
  const Case cases[] = {{"5.04", 504},     {"4.20 beta 3", 420}, {"2.69", 269}, {"5.04 beta", 504},
                        {"1.2.3", std::nullopt},    {"abc", std::nullopt}, {"", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ParseFileVersion(c.line), c.version) << c.line;
}

TEST_F(ProjectFileTest, BetaVersionReadsAsItsVersionPart) {
  // 4.20 beta 3 is version 420: slot 66 still holds one plain path.
  const auto lines = SlotLines(project_, {{66, "plain licence.rtf"}});
  ASSERT_TRUE(LoadProject(project_, session_, WriteText(OldText("4.20 beta 3", lines)), context_));
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"plain licence.rtf", ""}));
  // 4.21 reads it packed.
  ASSERT_TRUE(LoadProject(project_, session_, WriteText(OldText("4.21", lines)), context_));
  EXPECT_EQ(project_.licenseFiles[0], DecodeText("plain licence.rtf"));
}

// One row per adjustment of older files: a file of `version` carrying `value` in `slot`
// gives `expected` as that slot's line.
TEST_F(ProjectFileTest, OlderVersionsTable) {
  const std::string documentsSetup = SlotDefaultValue(25, context_);
  const std::string firstIcon = folder_.Path() + "Icons/Install/Another.ico";
  const std::string header = folder_.Path() + "Bitmaps/Header/header.bmp";
  const std::string existingPicture = folder_.Write("pictures/mine.bmp", "bmp");
  struct Case {
    int version;
    int slot;
    std::string value;
    std::string expected;
  };
  const std::string some = PackLines({"Windows XP"});
  const std::string all = SlotDefaultValue(24, context_);
  const std::string none = PackLines({});
  const Case cases[] = {
      {301, 24, some, all},           {302, 24, some, all},          {502, 24, none, ""},
      {503, 24, some, EncodeText("Windows XP\r\n\r\n\r\n\r\n")},
      {301, 25, "old.exe", documentsSetup}, {302, 25, "new.exe", "new.exe"},
      {319, 33, "x", "%InstallPath%\\Uninstall.exe"}, {320, 33, "x", "x"},
      {319, 34, "x", "%InstallPath%\\Uninstall.ini"}, {320, 34, "x", "x"},
      {399, 35, "1", "0"},            {400, 35, "1", "1"},
      {499, 38, "3", "2"},            {499, 38, "1", "1"},            {500, 38, "3", "-1"},
      {399, 39, "x", "http://"},      {400, 39, "x", "x"},
      {399, 42, "0", "1"},            {400, 42, "0", "0"},
      {503, 43, "1", "0"},            {504, 43, "1", "1"},
      {249, 51, "0", "1"},            {250, 51, "0", "0"},
      {249, 53, "0", "1"},            {250, 53, "0", "0"},
      {503, 58, "x", "%ProductName%"}, {504, 58, "x", "x"},
      {409, 69, "x.ico", firstIcon},  {410, 69, "x.ico", "x.ico"},
      {409, 70, "x.ico", folder_.Path() + "Icons/Uninstall/remove.ico"},
      {503, 74, "missing.bmp", header}, {503, 74, existingPicture, existingPicture},
      {503, 74, "%CURRENT_PATH%/Bitmaps/Header/header.bmp", "%CURRENT_PATH%/Bitmaps/Header/header.bmp"},
      {504, 74, "missing.bmp", "missing.bmp"},
      {279, 83, "0", "1"},            {280, 83, "0", "0"},
      {279, 93, "0", "1"},            {279, 95, "0", "1"},            {279, 109, "0", "1"},
      {319, 96, "5", "171"},          {319, 97, "5", "8"},            {319, 98, "5", "178"},
      {319, 99, "5", "26"},           {320, 99, "5", "5"},
      {502, 112, "4", "6"},           {502, 112, "3", "3"},           {503, 112, "4", "4"},
      {299, 122, "0", "1"},           {299, 123, "0", "1"},           {300, 123, "0", "0"},
  };
  for (const Case& c : cases) {
    NewProject(project_, session_, context_);
    const auto lines = SlotLines(project_, {{c.slot, c.value}});
    const std::string text = OldText(std::to_string(c.version / 100) + "." + (c.version % 100 < 10 ? "0" : "") +
                                         std::to_string(c.version % 100),
                                     lines);
    ASSERT_TRUE(LoadProject(project_, session_, WriteText(text), context_)) << c.version << " slot " << c.slot;
    EXPECT_EQ(SlotAt(c.slot).Get(project_), c.expected) << "version " << c.version << " slot " << c.slot;
  }
}

TEST_F(ProjectFileTest, VeryOldFilesCarryTheirLicenceAndInformationTexts) {
  const std::string licence = "{\\rtf1 " + std::string(120, 'L') + "}";
  const std::string info = "{\\rtf1 short}";
  // Files of that age hold plain paths in slots 66 and 73.
  const auto lines = SlotLines(project_, {{66, ""}, {73, ""}, {116, EncodeText(ScrambleText(licence))},
                                          {117, EncodeText(ScrambleText(info))}});
  const std::string path = WriteText(OldText("2.69", lines), "old project.bvq");
  ASSERT_TRUE(LoadProject(project_, session_, path, context_));
  const std::string written = folder_.Path() + "old project_License.rtf";
  EXPECT_EQ(folder_.Read(written), licence);
  EXPECT_EQ(project_.licenseFiles[0], written);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() + "old project_Info.rtf"));  // shorter than 111
  EXPECT_EQ(project_.infoFiles[0], "");

  // From version 270 on both slots are ignored.
  NewProject(project_, session_, context_);
  std::filesystem::remove(written);
  ASSERT_TRUE(LoadProject(project_, session_, WriteText(OldText("2.70", lines), "old project.bvq"), context_));
  EXPECT_FALSE(std::filesystem::exists(written));
  EXPECT_EQ(project_.licenseFiles[0], "");
}

// The texts of a very old file never replace a file the author may have edited since an
// earlier load: a file holding the same text is used as it is, one holding other text is
// left alone and the text goes to the first numbered name that is free or holds it, which the
// load reports.
TEST_F(ProjectFileTest, VeryOldFilesNeverOverwriteTheTextsBesideThem) {
  const std::string licence = "{\\rtf1 " + std::string(120, 'L') + "}";
  const std::string info = "{\\rtf1 " + std::string(120, 'I') + "}";
  const auto lines = SlotLines(project_, {{66, ""}, {73, ""}, {116, EncodeText(ScrambleText(licence))},
                                          {117, EncodeText(ScrambleText(info))}});
  const std::string edited = "{\\rtf1 the author's edits}";
  struct Case {
    const char* name;
    std::map<std::string, std::string> before;  // files beside the project, by name suffix
    std::string licenceFile;                      // where the licence entry points
    std::string infoFile;
    std::size_t notes;
  };
  const Case cases[] = {
      {"nothing there", {}, "_License.rtf", "_Info.rtf", 0},
      {"same texts there", {{"_License.rtf", licence}, {"_Info.rtf", info}}, "_License.rtf", "_Info.rtf", 0},
      {"licence edited", {{"_License.rtf", edited}, {"_Info.rtf", info}}, "_License (2).rtf", "_Info.rtf", 1},
      {"both edited", {{"_License.rtf", edited}, {"_Info.rtf", edited}}, "_License (2).rtf", "_Info (2).rtf", 2},
      {"edited twice", {{"_License.rtf", edited}, {"_License (2).rtf", edited}}, "_License (3).rtf", "_Info.rtf", 1},
      {"second load after an edit", {{"_License.rtf", edited}, {"_License (2).rtf", licence}}, "_License (2).rtf",
       "_Info.rtf", 1},
      {"a folder in the way", {{"_License.rtf/", ""}}, "_License (2).rtf", "_Info.rtf", 1},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(folder_.Path() + "old");
    std::filesystem::create_directories(folder_.Path() + "old");
    const std::string dir = folder_.Path() + "old/";
    for (const auto& [suffix, content] : c.before) {
      if (suffix.back() == '/') std::filesystem::create_directories(dir + "old project" + suffix);
      else folder_.Write("old/old project" + suffix, content);
    }
    NewProject(project_, session_, context_);
    const Outcome<ProjectLoad> loaded =
        LoadProject(project_, session_, folder_.Write("old/old project.bvq", MakeProjectFileBytes(OldText("2.69", lines))), context_);
    ASSERT_TRUE(loaded) << c.name << ": " << loaded.error();
    EXPECT_EQ(project_.licenseFiles[0], dir + "old project" + c.licenceFile) << c.name;
    EXPECT_EQ(project_.infoFiles[0], dir + "old project" + c.infoFile) << c.name;
    EXPECT_EQ(folder_.Read(project_.licenseFiles[0]), licence) << c.name;
    EXPECT_EQ(folder_.Read(project_.infoFiles[0]), info) << c.name;
    for (const auto& [suffix, content] : c.before)
      if (suffix.back() != '/') EXPECT_EQ(folder_.Read(dir + "old project" + suffix), content) << c.name << " " << suffix;
    ASSERT_EQ(loaded->notes.size(), c.notes) << c.name;
    for (const std::string& note : loaded->notes)
      EXPECT_NE(note.find(" (" ), std::string::npos) << c.name << ": " << note;  // names the file chosen
  }
}

// A project that checks install languages this machine does not have keeps their licence and
// information entries through load and save; shorter lists are padded to the checked languages.
TEST_F(ProjectFileTest, EntriesOfLanguagesNotInstalledHereSurvive) {
  for (std::size_t i = 0; i < 3; ++i) project_.SetLanguageChecked(i, true);
  project_.licenseFiles = {"all.rtf", "de.rtf", "en.rtf", "ru.rtf"};
  project_.infoFiles = {"", "", "", "ru info.txt"};
  const std::string path = Save();
  const std::string slot66 = SlotAt(66).Get(project_);
  const std::string slot73 = SlotAt(73).Get(project_);

  // This machine knows English only.
  Project here;
  ProjectSession hereSession(here);
  here.SetInstallLanguages({"English"});
  NewProject(here, hereSession, context_);
  ASSERT_TRUE(LoadProject(here, hereSession, path, context_));
  EXPECT_EQ(here.licenseFiles, project_.licenseFiles);
  EXPECT_EQ(here.infoFiles, project_.infoFiles);
  const std::string again = Save(here, hereSession, "again.bvq");
  Project back;
  ProjectSession backSession(back);
  back.SetInstallLanguages({"English"});
  ASSERT_TRUE(LoadProject(back, backSession, again, context_));
  EXPECT_EQ(SlotAt(66).Get(back), slot66);
  EXPECT_EQ(SlotAt(73).Get(back), slot73);

  // Fewer stored entries than checked languages: padded with empty ones.
  ASSERT_TRUE(SlotAt(66).Set(project_, PackLines({"only.rtf"})));
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"only.rtf", "", "", ""}));
}

TEST_F(ProjectFileTest, CellsAreRetranslatedFromTheFileLanguage) {
  auto lines = SlotLines(project_, {});
  std::string text = OldText("5.04", lines, {7, 7, 4}, {0, 0, 1}, {"D26", "dest", "D236", "Ja"});
  text.replace(text.find("\r\nEnglish\r\n"), 11, "\r\nDeutsch\r\n");
  ASSERT_TRUE(LoadProject(project_, session_, WriteText(text), context_));
  ASSERT_EQ(project_.files.size(), 1u);
  EXPECT_EQ(project_.files[0].Caption, "(folder)");
  EXPECT_EQ(project_.files[0].SubItems, (std::vector<std::string>{"dest", "E236", "Yes"}));
  EXPECT_EQ(project_.cellLanguage, "English");
}

TEST_F(ProjectFileTest, LoadKeepsListenersAndTellsThem) {
  const std::string path = Save();
  std::vector<ProjectChange> seen;
  project_.Listeners.Add([&](ProjectChange change) { seen.push_back(change); });
  ASSERT_TRUE(LoadProject(project_, session_, path, context_));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), ProjectChange::Replaced);
  seen.clear();
  project_.MarkModified();
  EXPECT_EQ(seen, std::vector<ProjectChange>{ProjectChange::Modified});
}

// Damaged files are refused with a message and change nothing in the open project.
TEST_F(ProjectFileTest, DamagedFilesLeaveTheProjectUntouched) {
  project_.productName = "Open product";
  project_.files.AppendCells({"keep.txt", "dest", "E236", "Yes"});
  const std::string openPath = Save("open.bvq");
  project_.MarkModified();
  const Project before = project_;

  const std::string good = TextOf(openPath);
  const std::string goodBytes = folder_.Read(openPath);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    const auto pos = t.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) t.replace(pos, from.size(), to);
    return MakeProjectFileBytes(t);
  };
  // The text with its column and entry counts replaced (eleven of each).
  auto withCounts = [&](const std::vector<std::string>& columns, const std::vector<std::string>& rows) {
    std::string t = good;
    const auto start = t.find("[LIST_COUNT_DATA_SIZE]\r\n");
    std::size_t end = t.find("[LIST_COUNT_DATA_LIST_SIZE]\r\n");
    for (int i = 0; i < 12 && end != std::string::npos; ++i) end = t.find("\r\n", end) + 2;
    EXPECT_TRUE(start != std::string::npos && end != std::string::npos);
    std::string counts = "[LIST_COUNT_DATA_SIZE]\r\n";
    for (const std::string& c : columns) counts += c + "\r\n";
    counts += "[LIST_COUNT_DATA_LIST_SIZE]\r\n";
    for (const std::string& r : rows) counts += r + "\r\n";
    t.replace(start, end - start, counts);
    return MakeProjectFileBytes(t);
  };
  // Products of columns and entries that add up to exactly 2^64: four lists of
  // (2^31-1) x (2^31-1) and one of 262140 x 65537.
  const std::string most = "2147483647";
  const std::vector<std::string> wrapColumns = {most, most, most, most, "262140", "0", "0", "0", "0", "0", "0"};
  const std::vector<std::string> wrapRows = {most, most, most, most, "65537", "0", "0", "0", "0", "0", "0"};
  std::vector<std::string> hugeRows(11, "0");
  hugeRows[0] = most;
  std::string longerLength = goodBytes;
  longerLength[31] = static_cast<char>(static_cast<unsigned char>(longerLength[31]) + 1);
  std::string negativeLength = goodBytes;
  negativeLength[34] = static_cast<char>(0x80);
  std::string wrongMagic = goodBytes;
  wrongMagic[0] = 'b';
  const std::string lines128 = "\r\n[CONTROLS]\r\n";
  struct Case {
    const char* name;
    std::string bytes;
    bool notProjectString;  // the message is interface string 97
  };
  const Case cases[] = {
      {"30 bytes", goodBytes.substr(0, 30), true},
      {"empty", "", true},
      {"wrong magic", wrongMagic, true},
      {"no length field", goodBytes.substr(0, 33), true},
      {"truncated payload", goodBytes.substr(0, goodBytes.size() - 10), true},
      {"length beyond the file", longerLength, true},
      {"negative length", negativeLength, true},
      {"not encoded", std::string(kProjectMagic) + std::string("\x05\0\0\0", 4) + "=====", true},
      {"no header marker", replaced("[HEADER]", "[HEAD]"), true},
      {"no controls marker", replaced("[CONTROLS]", "[CONTROL]"), true},
      {"non-numeric slot count", replaced("\r\n128\r\n", "\r\nmany\r\n"), true},
      {"slot count beyond the text", replaced("\r\n128\r\n", "\r\n100000\r\n"), true},
      {"more than eleven lists", replaced("\r\n11\r\n[CONTROLS]", "\r\n12\r\n[CONTROLS]"), true},
      {"non-numeric list count", replaced("\r\n11\r\n[CONTROLS]", "\r\neleven\r\n[CONTROLS]"), true},
      {"no column marker", replaced("[LIST_COUNT_DATA_SIZE]", "[LIST]"), true},
      {"no entry count marker", replaced("[LIST_COUNT_DATA_LIST_SIZE]", "[LIST_SIZE]"), true},
      {"non-numeric column count", replaced("[LIST_COUNT_DATA_SIZE]\r\n7", "[LIST_COUNT_DATA_SIZE]\r\nseven"), true},
      {"negative entry count", replaced("[LIST_COUNT_DATA_LIST_SIZE]\r\n0", "[LIST_COUNT_DATA_LIST_SIZE]\r\n-1"), true},
      {"entry count beyond the text", replaced("[LIST_COUNT_DATA_LIST_SIZE]\r\n0", "[LIST_COUNT_DATA_LIST_SIZE]\r\n90"), true},
      {"entry counts whose line total wraps 2^64", withCounts(wrapColumns, wrapRows), true},
      {"one list of 2^31-1 entries", withCounts(std::vector<std::string>(11, "1"), hugeRows), true},
      {"column count 2^31-1 with one entry", withCounts(std::vector<std::string>(11, most), std::vector<std::string>(11, "1")), true},
      {"non-numeric colour", replaced("\r\n16744576\r\n", "\r\nblue\r\n"), true},
  };
  for (const Case& c : cases) {
    const std::string path = folder_.Write("damaged.bvq", c.bytes);
    const Outcome<ProjectLoad> result = LoadProject(project_, session_, path, context_);
    EXPECT_FALSE(result) << c.name;
    EXPECT_FALSE(result.error().empty()) << c.name;
    if (c.notProjectString) EXPECT_EQ(result.error().rfind("This is not a project file.", 0), 0u) << c.name << ": " << result.error();
    EXPECT_EQ(project_, before) << c.name;
    EXPECT_EQ(project_.filePath, openPath) << c.name;
  }
  // Saving after a failed load writes the open project's own file, not the damaged one.
  const std::string damaged = folder_.Read(folder_.Path() + "damaged.bvq");
  ASSERT_TRUE(SaveProject(project_, session_, project_.filePath, context_));
  EXPECT_EQ(folder_.Read(folder_.Path() + "damaged.bvq"), damaged);
}

TEST_F(ProjectFileTest, MissingFileIsRefused) {
  const Project before = project_;
  const Outcome<ProjectLoad> result = LoadProject(project_, session_, folder_.Path() + "nothing.bvq", context_);
  EXPECT_FALSE(result);
  EXPECT_NE(result.error().find("nothing.bvq"), std::string::npos);
  EXPECT_EQ(project_, before);
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  const std::string path = Save();
  const std::string old = folder_.Read(path);
  project_.productName = "Changed";
  project_.MarkModified();
  // A folder in the way of the target: the rename fails.
  const std::string blocked = folder_.Path() + "blocked.bvq";
  std::filesystem::create_directories(blocked + "/inside");
  EXPECT_FALSE(SaveProject(project_, session_, blocked, context_));
  EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
  // A folder that does not exist.
  EXPECT_FALSE(SaveProject(project_, session_, folder_.Path() + "no/such/folder/p.bvq", context_));
  EXPECT_TRUE(session_.modified);
  EXPECT_EQ(project_.filePath, path);
  EXPECT_FALSE(session_.busy);
  EXPECT_EQ(folder_.Read(path), old);
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder_.Path())) names.insert(e.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"Bitmaps", "Icons", "Language", "blocked.bvq", "demo.bvq"}));
}

TEST_F(ProjectFileTest, SaveNormalisesAndClearsModified) {
  project_.setupFile = "  /out/Setup  ";
  project_.MarkModified();
  const std::string path = Save();
  EXPECT_EQ(project_.setupFile, "/out/Setup.exe");
  EXPECT_FALSE(session_.modified);
  EXPECT_EQ(project_.filePath, path);
}

TEST_F(ProjectFileTest, ExportAndImportAreByteForByte) {
  FillEverySlot(project_);
  const std::string path = Save();
  const std::string text = TextOf(path);
  const std::string textPath = folder_.Write("project.txt", text);
  const std::string copy = folder_.Path() + "copy.bvq";
  ASSERT_TRUE(ImportProjectText(textPath, copy));
  EXPECT_EQ(folder_.Read(copy), folder_.Read(path));

  // A text that is not a project text makes no file.
  const std::string badText = folder_.Write("bad.txt", "hello\r\n");
  const Status bad = ImportProjectText(badText, folder_.Path() + "bad.bvq");
  EXPECT_FALSE(bad);
  EXPECT_FALSE(bad.error.empty());
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() + "bad.bvq"));
  EXPECT_FALSE(ExportProjectText(badText));
}

}  // namespace
}  // namespace bvq::test
