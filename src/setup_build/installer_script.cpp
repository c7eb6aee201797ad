#include "setup_build/installer_script.h"

#include <array>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "project/variables.h"
#include "util/files.h"
#include "util/ini_file.h"
#include "util/paths.h"
#include "project/entry_dialog.h"
#include "project/registry_names.h"
#include "setup_build/build_progress.h"
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
  if (cell == InterfaceString(kTextPlaceStartMenu)) return 0;
  if (cell == InterfaceString(kTextPlaceDesktop)) return 1;
  if (cell == InterfaceString(kTextPlaceProgramGroup)) return 2;
  if (cell == InterfaceString(kTextPlaceQuickLaunch)) return 3;
  if (cell == InterfaceString(kTextPlaceOtherPath)) return 4;
  return 1;
}

bool AnyShortcutAt(const Project& p, std::initializer_list<int> strings) {
  for (const EntryRow& row : p.shortcuts.Rows)
    for (int s : strings)
      if (row.Caption == InterfaceString(s)) return true;
  return false;
}

size_t FolderOnlyCount(const Project& p) {
  size_t n = 0;
  for (const EntryRow& row : p.files.Rows) n += IsFolderOnlyEntry(row);
  return n;
}

std::string NetVersionText(const Project& p) {
  static const char* kVersions[6] = {"1.0", "1.1", "2.0", "3.0", "3.5", "4.0"};
  if (!p.requireDotNet || p.dotNetVersion < 0 || p.dotNetVersion > 11) return "0";
  return kVersions[p.dotNetVersion % 6];
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

// Commands of installCommands or uninstallCommands; `afterWord` is the when cell
// that means "after".
void AppendCommands(std::vector<std::string>& out, const EntryList& list, bool uninstaller) {
  for (const EntryRow& row : list.Rows) {
    out.push_back(row.Caption == InterfaceString(kTextShellExecute) ? "1" : "0");
    out.push_back(row.Cell(1));
    out.push_back(row.Cell(2));
    out.push_back(WindowShowNumber(row.Cell(3)));
    const std::string& when = row.Cell(4);
    // Installer commands run after unpacking for string 94; uninstaller commands after
    // removing the files for string 110, the second choice of their dialog.
    bool after = when == InterfaceString(kTextAfterUnpacking) ||
                 (uninstaller && when == InterfaceString(kTextAfterUninstalling));
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
  s = ReplaceAll(s, "#appname#", project.productName);
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
  uint64_t k = p.shortcuts.size() + p.registryValues.size() + FolderOnlyCount(p) + p.installCommands.size() +
               p.iniEntries.size() + p.activeXFiles.size() + (p.makeUninstaller ? 17 : 0);
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
  auto checked = [&](size_t i) { return i < p.supportedSystems.size() && p.supportedSystems[i].Checked; };
  uint32_t bits = 0;
  for (size_t i = 0; i < 8; ++i)
    if (!checked(i)) bits |= 2u << i;
  if (!checked(8) && !checked(9)) bits |= 512;
  return bits;
}

std::string SystemsText(const Project& p) {
  static const char* kShort[10] = {"95", "98", "ME", "NT", "2000", "XP", "2003 Server", "Vista", "2008 Server", "7"};
  std::string text = "Windows ";
  for (size_t i = 0; i < p.supportedSystems.size() && i < 10; ++i)
    if (p.supportedSystems[i].Checked) text += std::string(kShort[i]) + "/";
  text.pop_back();
  return text + ".";
}

std::vector<std::string> InstallerScriptValues(const Project& p, const ScriptPayload& payload,
                                               const std::vector<BuildLanguage>& languages) {
  const PayloadList& files = *payload.files;
  const bool uninstaller = p.makeUninstaller;
  std::string major, minor;
  ProductVersionNumbers(p.productVersion, major, minor);
  const std::string netVersion = NetVersionText(p);
  const bool netOrLater = p.requireDotNet && p.dotNetVersion > 5;

  std::vector<std::string> v;
  v.reserve(kScriptFieldCount + 64);
  // Section A: fields 0..120.
  v.push_back("Belvandorithquessal v. " + ProgramVersion());         // 0
  v.push_back(Flag(p.showBackground && !p.silentInstall));           // 1
  v.push_back(p.openDotNetPage ? p.dotNetPageAddress : "0");         // 2
  v.push_back(Flag(p.backgroundIsGradient));                         // 3
  v.push_back(Num(p.backgroundGradientStart));                       // 4
  v.push_back(Num(p.backgroundGradientEnd));                         // 5
  v.push_back(Num(p.backgroundGradientDirection));                   // 6
  v.push_back(Num(p.backgroundPicturePlacement));                    // 7
  v.push_back(p.backgroundTitle);                                    // 8
  v.push_back(p.backgroundCompany);                                  // 9
  v.push_back(Num(FontHeight(p.backgroundTitleFont.Size)));          // 10
  v.push_back(p.backgroundTitleFont.Name);                           // 11
  v.push_back(Num(p.backgroundTitleFont.Color));                     // 12
  v.push_back(Num(p.backgroundTitleFont.Charset & 0xFF));            // 13
  v.push_back(Num(p.backgroundTitleFont.Style & 0xFF));              // 14
  v.push_back(Num(p.backgroundCompanyFont.Style & 0xFF));            // 15
  v.push_back(Num(p.backgroundCompanyFont.Color));                   // 16
  v.push_back(Num(p.backgroundCompanyFont.Charset & 0xFF));          // 17
  v.push_back(Num(FontHeight(p.backgroundCompanyFont.Size)));        // 18
  v.push_back(p.backgroundCompanyFont.Name);                         // 19
  v.push_back(Num(p.activeXFiles.size()));                           // 20
  v.push_back(p.volumeFileName);                                     // 21
  v.push_back(Flag(AnyShortcutAt(p, {kTextPlaceDesktop, kTextPlaceProgramGroup, kTextPlaceQuickLaunch})));  // 22
  v.push_back(Num(files.totalSourceSize));                           // 23
  v.push_back(Num(p.iniEntries.size()));                             // 24
  v.push_back(Num(uninstaller ? p.uninstallCommands.size() : 0));    // 25
  v.push_back(Num(languages.size()));                                // 26
  v.push_back(p.installerBottomText + " ");                          // 27
  v.push_back(p.productName);                                        // 28
  v.push_back(p.askPassword ? ScrambledPassword(p.password) : "");   // 29
  v.push_back(Flag(p.showLicense));                                  // 30
  v.push_back(Num(p.fonts.size()));                                  // 31
  v.push_back(Num(p.programGroupPlace));                             // 32
  v.push_back("0");                                                  // 33
  v.push_back(Flag(p.splitting == 0));                               // 34
  v.push_back(p.productVersion);                                     // 35
  v.push_back(Flag(p.offerWebSite));                                 // 36
  v.push_back(p.finishWebSite);                                      // 37
  v.push_back(Flag(p.webSiteTicked));                                // 38
  v.push_back(Flag(p.offerRunApp));                                  // 39
  v.push_back(Num(p.installCommands.size()));                        // 40
  v.push_back("0");                                                  // 41
  v.push_back(p.companyName);                                        // 42
  v.push_back(p.runAppFile);                                         // 43
  v.push_back(Flag(p.runAppTicked));                                 // 44
  v.push_back(Num(uninstaller ? p.uninstallDeletions.size() : 0));   // 45
  v.push_back(Flag(p.readmeTicked));                                 // 46
  v.push_back(p.readmeFile);                                         // 47
  v.push_back(Num(RequiredSpace(p, files.totalSourceSize)));         // 48
  v.push_back(Flag(p.showHeaderPicture && !p.silentInstall));        // 49
  v.push_back(Num(p.registryValues.size()));                         // 50
  v.push_back(Flag(p.readmeTicked));                                 // 51
  v.push_back(Flag(p.offerRestart));                                 // 52
  v.push_back(p.installFolderName);                                  // 53
  v.push_back(Num(p.shortcuts.size()));                              // 54
  v.push_back(p.uninstallName);                                      // 55
  v.push_back(Flag(uninstaller));                                    // 56
  v.push_back(Num(kLanguageTextCount));                              // 57
  v.push_back(WithoutTrailingBackslash(p.installFolderPath));        // 58
  v.push_back(Num((p.showPasswordTyped ? 0 : 64) + (p.passwordUpperCase ? 256 : 0))); // 59
  v.push_back(Num(p.headerGradientStart));                           // 60
  v.push_back(Num(RefusedSystems(p)));                               // 61
  v.push_back(SystemsText(p));                                       // 62
  v.push_back(Flag(p.showLogo && !p.silentInstall));                 // 63
  v.push_back(Flag(p.uninstallerClosesApp));                         // 64
  v.push_back(p.installerTitle);                                     // 65
  v.push_back(Flag(p.headerGradient));                               // 66
  v.push_back(Num(files.files.size()));                              // 67
  v.push_back(Flag(p.uninstallerOpensPage));                         // 68
  v.push_back(Num(p.headerTitlePosition.Left));                      // 69
  v.push_back(Num(p.headerGradientEnd));                             // 70
  v.push_back(Flag(p.headerPictureTransparent));                     // 71
  v.push_back(Num(p.headerTitlePosition.Top));                       // 72
  v.push_back(Num(p.headerDescriptionPosition.Left));                // 73
  v.push_back(p.uninstallerPageAddress);                             // 74
  v.push_back(p.uninstallerTitle);                                   // 75
  v.push_back(Flag(p.lockInstallFolder));                            // 76
  v.push_back(Flag(p.logoPictureTransparent));                       // 77
  v.push_back(Num(p.headerDescriptionPosition.Top));                 // 78
  v.push_back(Flag(p.offerReadme));                                  // 79
  v.push_back(Num(p.headerPicturePosition.Top - 1));                 // 80
  v.push_back(Num(p.headerPicturePosition.Left));                    // 81
  v.push_back(Num(p.logoPicturePosition.Top - 1));                   // 82
  v.push_back(Num(p.logoPicturePosition.Left - 1));                  // 83
  v.push_back(Flag(p.showInformation));                              // 84
  v.push_back(Flag(netOrLater));                                     // 85
  v.push_back(Flag(AnyShortcutAt(p, {kTextPlaceStartMenu})));                         // 86
  v.push_back(major);                                                // 87
  v.push_back(Flag(AnyShortcutAt(p, {kTextPlaceDesktop})));                         // 88
  v.push_back(Flag(AnyShortcutAt(p, {kTextPlaceProgramGroup})));                         // 89
  v.push_back(Flag(AnyShortcutAt(p, {kTextPlaceQuickLaunch})));                         // 90
  v.push_back(p.uninstallerFile);                                    // 91
  v.push_back(p.uninstallLogFile);                                   // 92
  v.push_back(Num(FolderOnlyCount(p)));                              // 93
  v.push_back(p.productWebSite);                                     // 94
  v.push_back(Num(kFullCabinetPayload));                             // 95
  v.push_back(Num(p.uninstallRegistryDeletions.size()));             // 96
  v.push_back(p.uninstallerCloseAppText);                            // 97
  v.push_back(Num(p.registryVariables.size()));                      // 98
  v.push_back(Flag(p.requireAdmin));                                 // 99
  v.push_back(netVersion);                                           // 100
  v.push_back(EndsInPng(p.showHeaderPicture, p.headerPicture));      // 101
  v.push_back(EndsInPng(p.showLogo, p.logoPicture));                 // 102
  v.push_back(Flag(p.installerClosesApp));                           // 103
  v.push_back(p.installerCloseAppText);                              // 104
  v.push_back(Num(p.installerCloseAppMatch));                        // 105
  v.push_back(p.programGroup);                                       // 106
  v.push_back(p.supportContact);                                     // 107
  v.push_back(Num(p.uninstallerCloseAppMatch));                      // 108
  v.push_back(Flag(p.lockProgramGroup));                             // 109
  v.push_back(Flag(p.silentInstall));                                // 110
  v.push_back(Flag(p.showWelcomePage));                              // 111
  v.push_back(Flag(p.showInstallFolderPage));                        // 112
  v.push_back(Flag(p.showProgramGroupPage));                         // 113
  v.push_back(Flag(p.showShortcutsPage));                            // 114
  v.push_back(Flag(p.showReadyPage));                                // 115
  v.push_back(Flag(p.showFinishPage));                               // 116
  const bool cab = payload.useCabinets && payload.cabinetCount > 0;
  v.push_back(Num(cab ? payload.cabinetCount - 1 : 0));              // 117
  v.push_back(Num(cab ? payload.lastCabinetSize - 4 : 0));           // 118
  v.push_back(minor);                                                // 119
  v.push_back("0");                                                  // 120

  // B: variables read from the registry.
  for (const EntryRow& r : p.registryVariables.Rows) {
    v.push_back(RootNumber(r.Cell(1)));
    v.push_back(r.Cell(2));
    v.push_back(r.Cell(3));
    v.push_back(r.Cell(4));
  }
  // C: registry values.
  for (const EntryRow& r : p.registryValues.Rows) {
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
  for (const EntryRow& r : p.uninstallRegistryDeletions.Rows) {
    v.push_back(RootNumber(r.Caption));
    v.push_back(r.Cell(1));
    v.push_back(r.Cell(2));
  }
  // E: fonts.
  for (const EntryRow& r : p.fonts.Rows) {
    v.push_back(r.Caption);
    v.push_back(r.Cell(1));
  }
  // F: shortcuts.
  for (const EntryRow& r : p.shortcuts.Rows) {
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
  for (const EntryRow& r : p.files.Rows) {
    if (!IsFolderOnlyEntry(r)) continue;
    v.push_back(r.Cell(1));
    v.push_back(YesFlag(r.Cell(3)));
  }
  // I, J: commands.
  AppendCommands(v, p.installCommands, false);
  if (uninstaller) AppendCommands(v, p.uninstallCommands, true);
  // K: INI entries.
  for (const EntryRow& r : p.iniEntries.Rows) {
    for (int c = 0; c < 4; ++c) v.push_back(r.Cell(c));
    v.push_back(YesFlag(r.Cell(4)));
    v.push_back(YesFlag(r.Cell(5)));
  }
  // L: uninstaller deletions.
  if (uninstaller) {
    for (const EntryRow& r : p.uninstallDeletions.Rows) {
      v.push_back(r.Caption == InterfaceString(kTextDeleteFolderAndFiles) ? "2"
                  : r.Caption == InterfaceString(kTextDeleteFolder)       ? "1"
                                                                          : "0");
      v.push_back(r.Cell(1));
    }
  }
  // M: ActiveX files.
  for (const EntryRow& r : p.activeXFiles.Rows) {
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
  const std::string netText = p.requireDotNet ? netVersion + (netOrLater ? "+" : "") : "";
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
