#include "build/installer_script.h"

#include <array>

#include "project/interface_strings.h"
#include "project/project_paths.h"
#include "project/variables.h"
#include "util/files.h"
#include "util/ini_file.h"
#include "util/paths.h"
#include "project/entry_dialog.h"
#include "project/registry_names.h"
#include "build/build_progress.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {
namespace {

// Root keys are matched without regard to case: a .reg import keeps the root as its file
// spells it.
std::string RootNumber(const std::string& cell) {
  for (size_t i = 0; i < kRegistryRootNames.size(); ++i)
    if (EqualsNoCase(cell, kRegistryRootNames[i])) return std::to_string(i);
  return "";
}

std::string YesFlag(const std::string& cell) { return IsYesCell(cell) ? "1" : "0"; }
std::string Flag(bool b) { return b ? "1" : "0"; }
std::string Num(int64_t v) { return std::to_string(v); }

std::string WindowShowNumber(const std::string& cell) {
  if (cell == "Maximize") return "3";
  if (cell == "Minimize") return "6";
  if (cell == "Hide") return "0";
  return "1";  // "Normal"
}

int ShortcutPlace(const std::string& cell) {
  if (cell == InterfaceString(54)) return 0;
  if (cell == InterfaceString(52)) return 1;
  if (cell == InterfaceString(53)) return 2;
  if (cell == InterfaceString(55)) return 3;
  if (cell == InterfaceString(56)) return 4;
  return 1;
}

bool AnyShortcutAt(const Project& p, std::initializer_list<int> strings) {
  for (const EntryRow& row : p.ListView1.Rows)
    for (int s : strings)
      if (row.Caption == InterfaceString(s)) return true;
  return false;
}

size_t FolderOnlyCount(const Project& p) {
  size_t n = 0;
  for (const EntryRow& row : p.ListView3.Rows) n += IsFolderOnlyEntry(row);
  return n;
}

std::string NetVersionText(const Project& p) {
  static const char* kVersions[6] = {"1.0", "1.1", "2.0", "3.0", "3.5", "4.0"};
  if (!p.CheckBox38 || p.ComboBox5 < 0 || p.ComboBox5 > 11) return "0";
  return kVersions[p.ComboBox5 % 6];
}

std::string EndsInPng(bool shown, const std::string& file) {
  std::string path = ExpandCurrentPath(file);
  return Flag(shown && path.size() >= 4 && ToLowerAscii(path.substr(path.size() - 4)) == ".png");
}

std::string WithoutTrailingBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

std::string StripLeadingZeros(const std::string& digits) {
  size_t i = digits.find_first_not_of('0');
  return i == std::string::npos ? "0" : digits.substr(i);
}

// Commands of ListView4 (installer) or ListView6 (uninstaller); `afterWord` is the when cell
// that means "after".
void AppendCommands(std::vector<std::string>& out, const EntryList& list, bool uninstaller) {
  for (const EntryRow& row : list.Rows) {
    out.push_back(row.Caption == InterfaceString(48) ? "1" : "0");
    out.push_back(row.Cell(1));
    out.push_back(row.Cell(2));
    out.push_back(WindowShowNumber(row.Cell(3)));
    const std::string& when = row.Cell(4);
    // Installer commands run after unpacking for string 94; uninstaller commands after
    // removing the files for string 110, the second choice of their dialog.
    bool after = when == InterfaceString(94) || (uninstaller && when == InterfaceString(110));
    out.push_back(Flag(after));
    out.push_back(YesFlag(row.Cell(5)));
  }
}

}  // namespace

int FontHeight(int points) {
  const int dpi = 96;
  int64_t n = int64_t{points} * dpi;
  int64_t h = n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
  return static_cast<int>(-h);
}

std::string ExpandMessageText(const Project& project, std::string_view text, std::string_view netText, uint64_t size) {
  std::string s(text);
  if (s.find("#setupsize#") != std::string::npos) s = ReplaceAll(s, "#setupsize#", SizeText(static_cast<int64_t>(size)));
  s = ReplaceAll(s, "#netversion#", netText);
  s = ReplaceAll(s, "#appname#", project.LabeledEdit2);
  s = ReplaceAll(s, "#32", " ");
  s = ReplaceAll(s, "#10", "\n");
  s = ReplaceAll(s, "#13", "\r");
  return s;
}

std::string ScrambledPassword(std::string_view text) {
  const uint32_t n = static_cast<uint32_t>(text.size());
  std::string out(text.size(), '\0');
  uint32_t a = 0;
  for (uint32_t i = 1; i <= n; ++i) {
    const uint32_t si = static_cast<unsigned char>(text[i - 1]);
    a = a * (n - i + 1) + si;
    uint32_t x = si * a + i;
    do {
      x %= 90;
      if (x < 48) x += 48;
    } while (x < 48 || x > 90);
    out[i - 1] = static_cast<char>(x);
  }
  return out;
}

uint64_t RequiredSpace(const Project& p, uint64_t totalSourceSize) {
  uint64_t k = p.ListView1.size() + p.ListView2.size() + FolderOnlyCount(p) + p.ListView4.size() +
               p.ListView5.size() + p.ListView8.size() + (p.CheckBox11 ? 17 : 0);
  return RoundedQuotient(k * 10240 + totalSourceSize, 1024);
}

void ProductVersionNumbers(std::string_view version, std::string& major, std::string& minor) {
  std::string kept;
  for (char c : version)
    if ((c >= '0' && c <= '9') || c == '.') kept += c;
  std::vector<std::string> parts;
  for (const std::string& part : SplitText(".", kept))
    if (!part.empty()) parts.push_back(StripLeadingZeros(part));
  major = parts.size() > 0 ? parts[0] : "0";
  minor = parts.size() > 1 ? parts[1] : "0";
}

uint32_t RefusedSystems(const Project& p) {
  auto checked = [&](size_t i) { return i < p.VersionsListView.size() && p.VersionsListView[i].Checked; };
  uint32_t bits = 0;
  for (size_t i = 0; i < 8; ++i)
    if (!checked(i)) bits |= 2u << i;
  if (!checked(8) && !checked(9)) bits |= 512;
  return bits;
}

std::string SystemsText(const Project& p) {
  static const char* kShort[10] = {"95", "98", "ME", "NT", "2000", "XP", "2003 Server", "Vista", "2008 Server", "7"};
  std::string text = "Windows ";
  for (size_t i = 0; i < p.VersionsListView.size() && i < 10; ++i)
    if (p.VersionsListView[i].Checked) text += std::string(kShort[i]) + "/";
  text.pop_back();
  return text + ".";
}

std::vector<std::string> InstallerScriptValues(const Project& p, const ScriptPayload& payload,
                                               const std::vector<BuildLanguage>& languages) {
  const PayloadList& files = *payload.files;
  const bool uninstaller = p.CheckBox11;
  std::string major, minor;
  ProductVersionNumbers(p.LabeledEdit29, major, minor);
  const std::string netVersion = NetVersionText(p);
  const bool netOrLater = p.CheckBox38 && p.ComboBox5 > 5;

  std::vector<std::string> v;
  v.reserve(kScriptFieldCount + 64);
  // Section A: fields 0..120.
  v.push_back("Belvandorithquessal v. " + ProgramVersion());         // 0
  v.push_back(Flag(p.CheckBox1 && !p.CheckBox43));                    // 1
  v.push_back(p.CheckBox5 ? p.Edit6 : "0");                           // 2
  v.push_back(Flag(p.RadioButton6));                                  // 3
  v.push_back(Num(p.BackGradientColor1));                             // 4
  v.push_back(Num(p.BackGradientColor2));                             // 5
  v.push_back(Num(p.ComboBox7));                                      // 6
  v.push_back(Num(p.ComboBox8));                                      // 7
  v.push_back(p.LabeledEdit19);                                       // 8
  v.push_back(p.LabeledEdit28);                                       // 9
  v.push_back(Num(FontHeight(p.TitleBackFont.Size)));                 // 10
  v.push_back(p.TitleBackFont.Name);                                  // 11
  v.push_back(Num(p.TitleBackFont.Color));                            // 12
  v.push_back(Num(p.TitleBackFont.Charset & 0xFF));                   // 13
  v.push_back(Num(p.TitleBackFont.Style & 0xFF));                     // 14
  v.push_back(Num(p.CompanyBackFont.Style & 0xFF));                   // 15
  v.push_back(Num(p.CompanyBackFont.Color));                          // 16
  v.push_back(Num(p.CompanyBackFont.Charset & 0xFF));                 // 17
  v.push_back(Num(FontHeight(p.CompanyBackFont.Size)));               // 18
  v.push_back(p.CompanyBackFont.Name);                                // 19
  v.push_back(Num(p.ListView8.size()));                               // 20
  v.push_back(p.LabeledEdit25);                                       // 21
  v.push_back(Flag(AnyShortcutAt(p, {52, 53, 55})));                  // 22
  v.push_back(Num(files.totalSourceSize));                            // 23
  v.push_back(Num(p.ListView5.size()));                               // 24
  v.push_back(Num(uninstaller ? p.ListView6.size() : 0));             // 25
  v.push_back(Num(languages.size()));                                 // 26
  v.push_back(p.LabeledEdit16 + " ");                                 // 27
  v.push_back(p.LabeledEdit2);                                        // 28
  v.push_back(p.CheckBox24 ? ScrambledPassword(p.LabeledEdit20) : ""); // 29
  v.push_back(Flag(p.CheckBox4));                                     // 30
  v.push_back(Num(p.ListView11.size()));                              // 31
  v.push_back(Num(p.ComboBox2));                                      // 32
  v.push_back("0");                                                   // 33
  v.push_back(Flag(p.ComboBox4 == 0));                                // 34
  v.push_back(p.LabeledEdit29);                                       // 35
  v.push_back(Flag(p.CheckBox17));                                    // 36
  v.push_back(p.LabeledEdit7);                                        // 37
  v.push_back(Flag(p.CheckBox14));                                    // 38
  v.push_back(Flag(p.CheckBox7));                                     // 39
  v.push_back(Num(p.ListView4.size()));                               // 40
  v.push_back("0");                                                   // 41
  v.push_back(p.LabeledEdit4);                                        // 42
  v.push_back(p.Edit2);                                               // 43
  v.push_back(Flag(p.CheckBox2));                                     // 44
  v.push_back(Num(uninstaller ? p.ListView7.size() : 0));             // 45
  v.push_back(Flag(p.CheckBox3));                                     // 46
  v.push_back(p.Edit3);                                               // 47
  v.push_back(Num(RequiredSpace(p, files.totalSourceSize)));          // 48
  v.push_back(Flag(p.CheckBox26 && !p.CheckBox43));                   // 49
  v.push_back(Num(p.ListView2.size()));                               // 50
  v.push_back(Flag(p.CheckBox3));                                     // 51
  v.push_back(Flag(p.CheckBox9));                                     // 52
  v.push_back(p.Edit10);                                              // 53
  v.push_back(Num(p.ListView1.size()));                               // 54
  v.push_back(p.LabeledEdit10);                                       // 55
  v.push_back(Flag(uninstaller));                                     // 56
  v.push_back(Num(kLanguageTextCount));                               // 57
  v.push_back(WithoutTrailingBackslash(p.LabeledEdit12));             // 58
  v.push_back(Num((p.CheckBox12 ? 0 : 64) + (p.CheckBox16 ? 256 : 0))); // 59
  v.push_back(Num(p.HeaderGradientColor1));                           // 60
  v.push_back(Num(RefusedSystems(p)));                                // 61
  v.push_back(SystemsText(p));                                        // 62
  v.push_back(Flag(p.CheckBox40 && !p.CheckBox43));                   // 63
  v.push_back(Flag(p.CheckBox37));                                    // 64
  v.push_back(p.LabeledEdit6);                                        // 65
  v.push_back(Flag(p.CheckBox10));                                    // 66
  v.push_back(Num(files.files.size()));                               // 67
  v.push_back(Flag(p.CheckBox39));                                    // 68
  v.push_back(Num(p.Label22.Left));                                   // 69
  v.push_back(Num(p.HeaderGradientColor2));                           // 70
  v.push_back(Flag(p.CheckBox6));                                     // 71
  v.push_back(Num(p.Label22.Top));                                    // 72
  v.push_back(Num(p.Label23.Left));                                   // 73
  v.push_back(p.Edit9);                                               // 74
  v.push_back(p.LabeledEdit22);                                       // 75
  v.push_back(Flag(p.CheckBox41));                                    // 76
  v.push_back(Flag(p.CheckBox13));                                    // 77
  v.push_back(Num(p.Label23.Top));                                    // 78
  v.push_back(Flag(p.CheckBox8));                                     // 79
  v.push_back(Num(p.Image1.Top - 1));                                 // 80
  v.push_back(Num(p.Image1.Left));                                    // 81
  v.push_back(Num(p.Image2.Top - 1));                                 // 82
  v.push_back(Num(p.Image2.Left - 1));                                // 83
  v.push_back(Flag(p.CheckBox15));                                    // 84
  v.push_back(Flag(netOrLater));                                      // 85
  v.push_back(Flag(AnyShortcutAt(p, {54})));                          // 86
  v.push_back(major);                                                 // 87
  v.push_back(Flag(AnyShortcutAt(p, {52})));                          // 88
  v.push_back(Flag(AnyShortcutAt(p, {53})));                          // 89
  v.push_back(Flag(AnyShortcutAt(p, {55})));                          // 90
  v.push_back(p.LabeledEdit1);                                        // 91
  v.push_back(p.LabeledEdit3);                                        // 92
  v.push_back(Num(FolderOnlyCount(p)));                               // 93
  v.push_back(p.Edit8);                                               // 94
  v.push_back(Num(kFullCabinetPayload));                              // 95
  v.push_back(Num(p.ListView9.size()));                               // 96
  v.push_back(p.LabeledEdit9);                                        // 97
  v.push_back(Num(p.ListView10.size()));                              // 98
  v.push_back(Flag(p.CheckBox25));                                    // 99
  v.push_back(netVersion);                                            // 100
  v.push_back(EndsInPng(p.CheckBox26, p.LabeledEdit14));              // 101
  v.push_back(EndsInPng(p.CheckBox40, p.LabeledEdit15));              // 102
  v.push_back(Flag(p.CheckBox36));                                    // 103
  v.push_back(p.LabeledEdit8);                                        // 104
  v.push_back(Num(p.ComboBox9));                                      // 105
  v.push_back(p.LabeledEdit13);                                       // 106
  v.push_back(p.Edit1);                                               // 107
  v.push_back(Num(p.ComboBox10));                                     // 108
  v.push_back(Flag(p.CheckBox42));                                    // 109
  v.push_back(Flag(p.CheckBox43));                                    // 110
  v.push_back(Flag(p.CheckBox44));                                    // 111
  v.push_back(Flag(p.CheckBox45));                                    // 112
  v.push_back(Flag(p.CheckBox46));                                    // 113
  v.push_back(Flag(p.CheckBox47));                                    // 114
  v.push_back(Flag(p.CheckBox48));                                    // 115
  v.push_back(Flag(p.CheckBox49));                                    // 116
  const bool cab = payload.useCabinets && payload.cabinetCount > 0;
  v.push_back(Num(cab ? payload.cabinetCount - 1 : 0));               // 117
  v.push_back(Num(cab ? payload.lastCabinetSize - 4 : 0));            // 118
  v.push_back(minor);                                                 // 119
  v.push_back("0");                                                   // 120

  // B: variables read from the registry.
  for (const EntryRow& r : p.ListView10.Rows) {
    v.push_back(RootNumber(r.Cell(1)));
    v.push_back(r.Cell(2));
    v.push_back(r.Cell(3));
    v.push_back(r.Cell(4));
  }
  // C: registry values.
  for (const EntryRow& r : p.ListView2.Rows) {
    const bool binary = r.Cell(3) == "REG_BINARY";
    std::string data = r.Cell(4);
    if (binary) std::erase_if(data, [](char c) { return c == ' ' || c == ','; });
    const int typeIndex = RegistryNameIndex(kRegistryValueTypes, r.Cell(3));
    const std::string type = typeIndex < 0 ? std::string() : Num(typeIndex);
    v.push_back(RootNumber(r.Caption));
    v.push_back(r.Cell(1));
    v.push_back(r.Cell(2));
    v.push_back(data);
    v.push_back(type);
    v.push_back(YesFlag(r.Cell(5)));
    v.push_back(YesFlag(r.Cell(6)));
  }
  // D: registry entries the uninstaller deletes.
  for (const EntryRow& r : p.ListView9.Rows) {
    v.push_back(RootNumber(r.Caption));
    v.push_back(r.Cell(1));
    v.push_back(r.Cell(2));
  }
  // E: fonts.
  for (const EntryRow& r : p.ListView11.Rows) {
    v.push_back(r.Caption);
    v.push_back(r.Cell(1));
  }
  // F: shortcuts.
  for (const EntryRow& r : p.ListView1.Rows) {
    std::string name = r.Cell(1);
    if (ToUpperAscii(LastFourChars(name)) != ".LNK") name += ".lnk";
    const std::string& icon = r.Cell(6);
    size_t comma = icon.rfind(',');
    v.push_back(Num(ShortcutPlace(r.Caption)));
    v.push_back(name);
    v.push_back(r.Cell(2));
    v.push_back(r.Cell(3));
    v.push_back(r.Cell(5));
    v.push_back(comma == std::string::npos ? "" : icon.substr(0, comma));
    v.push_back(comma == std::string::npos ? icon : icon.substr(comma + 1));
    v.push_back(r.Cell(4));
  }
  // G: packed files.
  for (const PackedFile& f : files.files) {
    v.push_back(f.target);
    v.push_back(Num(f.mode));
    v.push_back(Flag(f.uninstall));
  }
  // H: folder-only entries.
  for (const EntryRow& r : p.ListView3.Rows) {
    if (!IsFolderOnlyEntry(r)) continue;
    v.push_back(r.Cell(1));
    v.push_back(YesFlag(r.Cell(3)));
  }
  // I, J: commands.
  AppendCommands(v, p.ListView4, false);
  if (uninstaller) AppendCommands(v, p.ListView6, true);
  // K: INI entries.
  for (const EntryRow& r : p.ListView5.Rows) {
    for (int c = 0; c < 4; ++c) v.push_back(r.Cell(c));
    v.push_back(YesFlag(r.Cell(4)));
    v.push_back(YesFlag(r.Cell(5)));
  }
  // L: uninstaller deletions.
  if (uninstaller) {
    for (const EntryRow& r : p.ListView7.Rows) {
      v.push_back(r.Caption == InterfaceString(145) ? "2" : r.Caption == InterfaceString(144) ? "1" : "0");
      v.push_back(r.Cell(1));
    }
  }
  // M: ActiveX files.
  for (const EntryRow& r : p.ListView8.Rows) {
    v.push_back(r.Caption);
    v.push_back(YesFlag(r.Cell(1)));
  }
  // N: install languages; O: their texts.
  std::vector<IniFile> files_(languages.size());
  for (size_t i = 0; i < languages.size(); ++i) {
    if (auto ini = IniFile::Load(InstallLanguageFile(languages[i].name))) files_[i] = std::move(*ini);
  }
  for (size_t i = 0; i < languages.size(); ++i) {
    const BuildLanguage& lang = languages[i];
    v.push_back(lang.caption);
    v.push_back(ExpandMessageText(p, files_[i].Get("Language", "Id"), "", 0));
    v.push_back(lang.licenseNumber ? Num(lang.licenseNumber) : "");
    v.push_back(lang.infoNumber ? Num(lang.infoNumber) : "");
  }
  const std::string netText = p.CheckBox38 ? netVersion + (netOrLater ? "+" : "") : "";
  for (size_t i = 0; i < languages.size(); ++i) {
    for (int key = 1; key <= kLanguageTextCount; ++key)
      v.push_back(ExpandMessageText(p, files_[i].Get("Strings", std::to_string(key)), netText, files.totalSourceSize));
  }

  for (std::string& value : v) value = SubstituteVariables(p, value);
  return v;
}

std::string EncodeInstallerScript(const std::vector<std::string>& values) {
  std::string script;
  for (const std::string& value : values) {
    script += value;
    script.push_back('\0');
  }
  return script;
}

}  // namespace bvq
