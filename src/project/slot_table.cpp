#include "project/slot_table.h"

#include <charconv>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>

#include "platform/shell_folders.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_codec.h"
#include "util/files.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {

// --- packed lists ---

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string PackLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) joined += "\r\n";
    joined += lines[i];
  }
  return EncodeText(joined);
}

std::vector<std::string> UnpackLines(std::string_view packed) { return SplitLines(DecodeText(packed)); }

namespace {

// A decimal integer in the 32-bit range: optional leading blanks and sign, digits only.
std::optional<int32_t> ParseInt32(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  text.remove_prefix(i);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(value);
}

// --- accessors, one template per member type ---

template <std::string Project::*M>
std::string GetText(const Project& p) { return p.*M; }
template <std::string Project::*M>
bool SetText(Project& p, std::string_view v) { p.*M = std::string(v); return true; }

template <bool Project::*M>
std::string GetFlag(const Project& p) { return FlagText(p.*M); }
template <bool Project::*M>
bool SetFlag(Project& p, std::string_view v) { p.*M = TextFlag(v); return true; }

// Combo box index: a number outside the box's items selects nothing (-1).
template <int Project::*M, int Items>
std::string GetIndex(const Project& p) { return IntText(p.*M); }
template <int Project::*M, int Items>
bool SetIndex(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  p.*M = (*value >= 0 && *value < Items) ? *value : -1;
  return true;
}

template <uint32_t Project::*M>
std::string GetColor(const Project& p) { return IntText(static_cast<int32_t>(p.*M)); }
template <uint32_t Project::*M>
bool SetColor(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  p.*M = static_cast<uint32_t>(*value);
  return true;
}

// Font parts. Mask 0xFF: only the low 8 bits are kept (character set, style).
template <FontSetting Project::*F, int FontSetting::*M, int Mask>
std::string GetFontInt(const Project& p) { return IntText(Mask ? ((p.*F).*M & Mask) : (p.*F).*M); }
template <FontSetting Project::*F, int FontSetting::*M, int Mask>
bool SetFontInt(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  (p.*F).*M = Mask ? (*value & Mask) : *value;
  return true;
}
template <FontSetting Project::*F>
std::string GetFontColor(const Project& p) { return IntText(static_cast<int32_t>((p.*F).Color)); }
template <FontSetting Project::*F>
bool SetFontColor(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  (p.*F).Color = static_cast<uint32_t>(*value);
  return true;
}
template <FontSetting Project::*F>
std::string GetFontName(const Project& p) { return (p.*F).Name; }
template <FontSetting Project::*F>
bool SetFontName(Project& p, std::string_view v) { (p.*F).Name = std::string(v); return true; }

template <PreviewPos Project::*P, int PreviewPos::*M>
std::string GetPos(const Project& p) { return IntText((p.*P).*M); }
template <PreviewPos Project::*P, int PreviewPos::*M>
bool SetPos(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  (p.*P).*M = *value;
  return true;
}

// Slot 90: the up-down position, a signed 16-bit number limited to 0..32767.
std::string GetUpDown(const Project& p) { return IntText(static_cast<int16_t>(p.volumeSize)); }
bool SetUpDown(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  p.volumeSize = *value < 0 ? 0 : (*value > 32767 ? 32767 : *value);
  return true;
}

// Slots 23 and 24: before each item a line break when the text is not empty, then the
// item's name when it is checked; unchecked items after the first checked one leave empty
// lines.
template <typename NameOf>
std::string CheckListText(const std::vector<CheckItem>& items, NameOf nameOf) {
  std::string text;
  for (const auto& item : items) {
    if (!text.empty()) text += "\r\n";
    if (item.Checked) text += nameOf(item.Caption);
  }
  return EncodeText(text);
}

bool ContainsLine(const std::vector<std::string>& lines, const std::string& value) {
  for (const auto& line : lines)
    if (line == value) return true;
  return false;
}

std::string GetLanguages(const Project& p) {
  return CheckListText(p.installLanguages, [](const std::string& c) { return LanguageNameOfCaption(c); });
}
bool SetLanguages(Project& p, std::string_view v) {
  const auto lines = UnpackLines(v);
  for (std::size_t i = 0; i < p.installLanguages.size(); ++i) p.SetLanguageChecked(i, false);
  for (std::size_t i = 0; i < p.installLanguages.size(); ++i)
    if (ContainsLine(lines, LanguageNameOfCaption(p.installLanguages[i].Caption))) p.SetLanguageChecked(i, true);
  return true;
}

std::string GetSystems(const Project& p) {
  return CheckListText(p.supportedSystems, [](const std::string& c) { return c; });
}
bool SetSystems(Project& p, std::string_view v) {
  const auto lines = UnpackLines(v);
  for (auto& item : p.supportedSystems) item.Checked = ContainsLine(lines, item.Caption);
  return true;
}

// Slots 66 and 73: the whole list, padded with empty entries up to the combo box items. Longer
// lists stay whole: a project that checks a language not installed here keeps that
// language's files through load and save.
template <std::vector<std::string> Project::*L>
std::string GetFileList(const Project& p) { return PackLines(p.*L); }
template <std::vector<std::string> Project::*L>
bool SetFileList(Project& p, std::string_view v) {
  auto lines = UnpackLines(v);
  const std::size_t comboItems = 1 + p.CheckedLanguageCaptions().size();
  if (lines.size() < comboItems) lines.resize(comboItems);
  p.*L = std::move(lines);
  return true;
}

// --- table ---

constexpr SlotInfo Reserved(int n) { return SlotInfo{n, "", SlotKind::Reserved}; }

// Each entry names the member and, as data, the control that shows it ("holder").
#define TEXT(n, member, holder, def, trim)                                                                        \
  SlotInfo{n, holder, SlotKind::Text, SlotDefault::Literal, def, 0, trim, &GetText<&Project::member>,             \
           &SetText<&Project::member>}
#define TEXT_D(n, member, holder, from, def, idx, trim)                                                           \
  SlotInfo{n, holder, SlotKind::Text, SlotDefault::from, def, idx, trim, &GetText<&Project::member>,              \
           &SetText<&Project::member>}
#define FLAG(n, member, holder, def)                                                                              \
  SlotInfo{n, holder, SlotKind::Flag, SlotDefault::Literal, def, 0, false, &GetFlag<&Project::member>,            \
           &SetFlag<&Project::member>}
#define INDEX(n, member, holder, items, def)                                                                      \
  SlotInfo{n, holder, SlotKind::Index, SlotDefault::Literal, def, 0, false, &GetIndex<&Project::member, items>,   \
           &SetIndex<&Project::member, items>}
#define COLOR(n, member, holder, def)                                                                             \
  SlotInfo{n, holder, SlotKind::Number, SlotDefault::Literal, def, 0, false, &GetColor<&Project::member>,         \
           &SetColor<&Project::member>}
#define FONT_INT(n, font, holder, part, mask, label, def)                                                         \
  SlotInfo{n, holder " " label, SlotKind::Number, SlotDefault::Literal, def, 0, false,                            \
           &GetFontInt<&Project::font, &FontSetting::part, mask>,                                                 \
           &SetFontInt<&Project::font, &FontSetting::part, mask>}
#define FONT_COLOR(n, font, holder, def)                                                                          \
  SlotInfo{n, holder " colour", SlotKind::Number, SlotDefault::Literal, def, 0, false,                            \
           &GetFontColor<&Project::font>, &SetFontColor<&Project::font>}
#define FONT_NAME(n, font, holder, def)                                                                           \
  SlotInfo{n, holder " name", SlotKind::Text, SlotDefault::Literal, def, 0, false,                                \
           &GetFontName<&Project::font>, &SetFontName<&Project::font>}
#define POS(n, item, holder, part, label, def)                                                                    \
  SlotInfo{n, holder " " label, SlotKind::Number, SlotDefault::Literal, def, 0, false,                            \
           &GetPos<&Project::item, &PreviewPos::part>, &SetPos<&Project::item, &PreviewPos::part>}

// Trimmed by normalisation: LabeledEdit1..17, 19, 22, 25, 27, 28, 29 and Edit1, 2, 3, 6, 8, 9, 10.
constexpr bool kTrim = true, kKeep = false;

const std::array<SlotInfo, kSlotCount> kSlots = {{
    TEXT_D(1, installerBottomText, "LabeledEdit16", CopyrightLine, "", 0, kTrim),
    FLAG(2, showBackground, "CheckBox1", "0"),
    FLAG(3, backgroundIsGradient, "RadioButton6", "1"),
    TEXT(4, backgroundPicture, "LabeledEdit27", "", kTrim),
    COLOR(5, backgroundGradientStart, "BackGradientColor1", "16744576"),
    COLOR(6, backgroundGradientEnd, "BackGradientColor2", "0"),
    INDEX(7, backgroundGradientDirection, "ComboBox7", 2, "0"),
    INDEX(8, backgroundPicturePlacement, "ComboBox8", 3, "0"),
    TEXT_D(9, backgroundTitle, "LabeledEdit19", InterfaceString, "", kTextDefaultBackgroundTitle, kTrim),
    TEXT_D(10, backgroundCompany, "LabeledEdit28", CopyrightLine, "", 0, kTrim),
    FONT_INT(11, backgroundTitleFont, "TitleBackFont", Size, 0, "size", "28"),
    FONT_NAME(12, backgroundTitleFont, "TitleBackFont", "Tahoma"),
    FONT_COLOR(13, backgroundTitleFont, "TitleBackFont", "16777215"),
    FONT_INT(14, backgroundTitleFont, "TitleBackFont", Charset, 0xFF, "character set", "1"),
    FONT_INT(15, backgroundTitleFont, "TitleBackFont", Style, 0xFF, "style", "2"),
    FONT_INT(16, backgroundCompanyFont, "CompanyBackFont", Style, 0xFF, "style", "0"),
    FONT_COLOR(17, backgroundCompanyFont, "CompanyBackFont", "16777215"),
    FONT_INT(18, backgroundCompanyFont, "CompanyBackFont", Charset, 0xFF, "character set", "1"),
    FONT_INT(19, backgroundCompanyFont, "CompanyBackFont", Size, 0, "size", "8"),
    FONT_NAME(20, backgroundCompanyFont, "CompanyBackFont", "Tahoma"),
    FLAG(21, logoPictureTransparent, "CheckBox13", "0"),
    FLAG(22, headerGradient, "CheckBox10", "1"),
    SlotInfo{23, "LanguageListView", SlotKind::PackedList, SlotDefault::CurrentLanguage, "", 0, false, &GetLanguages, &SetLanguages},
    SlotInfo{24, "VersionsListView", SlotKind::PackedList, SlotDefault::AllSystems, "", 0, false, &GetSystems, &SetSystems},
    TEXT_D(25, setupFile, "LabeledEdit5", SetupFile, "", 0, kTrim),
    FLAG(26, uninstallerOpensPage, "CheckBox39", "0"),
    TEXT_D(27, installerTitle, "LabeledEdit6", InterfaceString, "", kTextDefaultInstallerTitle, kTrim),
    TEXT(28, companyName, "LabeledEdit4", "Company", kTrim),
    TEXT(29, productName, "LabeledEdit2", "NewProduct", kTrim),
    TEXT(30, programGroup, "LabeledEdit13", "%ProductName% %ProductVersion%", kTrim),
    FLAG(31, showInformation, "CheckBox15", "0"),
    FLAG(32, offerRunApp, "CheckBox7", "0"),
    TEXT(33, uninstallerFile, "LabeledEdit1", "%InstallPath%\\Uninstall.exe", kTrim),
    TEXT(34, uninstallLogFile, "LabeledEdit3", "%InstallPath%\\Uninstall.ini", kTrim),
    FLAG(35, offerWebSite, "CheckBox17", "0"),
    FLAG(36, openDotNetPage, "CheckBox5", "0"),
    TEXT(37, dotNetPageAddress, "Edit6", "http://", kTrim),
    INDEX(38, compression, "ComboBox1", 3, "2"),
    TEXT(39, finishWebSite, "LabeledEdit7", "http://", kTrim),
    TEXT(40, runAppFile, "Edit2", "", kTrim),
    FLAG(41, requireAdmin, "CheckBox25", "0"),
    FLAG(42, webSiteTicked, "CheckBox14", "1"),
    INDEX(43, programGroupPlace, "ComboBox2", 2, "0"),
    FLAG(44, runAppTicked, "CheckBox2", "1"),
    FLAG(45, offerReadme, "CheckBox8", "0"),
    FLAG(46, showPasswordTyped, "CheckBox12", "1"),
    TEXT(47, readmeFile, "Edit3", "", kTrim),
    FLAG(48, readmeTicked, "CheckBox3", "1"),
    FLAG(49, requireDotNet, "CheckBox38", "0"),
    TEXT(50, productWebSite, "Edit8", "http://www.example.com", kTrim),
    FLAG(51, showHeaderPicture, "CheckBox26", "1"),
    FLAG(52, offerRestart, "CheckBox9", "0"),
    FLAG(53, showLogo, "CheckBox40", "1"),
    TEXT(54, supportContact, "Edit1", "mailto:support@example.com", kTrim),
    FLAG(55, lockInstallFolder, "CheckBox41", "0"),
    TEXT(56, uninstallName, "LabeledEdit10", "%ProductName% %ProductVersion%", kTrim),
    FLAG(57, makeUninstaller, "CheckBox11", "1"),
    TEXT(58, installFolderName, "Edit10", "%ProductName%", kTrim),
    TEXT(59, installFolderPath, "LabeledEdit12", "%ProgramFiles%\\%CompanyName%\\%ProductName%", kTrim),
    TEXT(60, uninstallerPageAddress, "Edit9", "http://", kTrim),
    FLAG(61, lockProgramGroup, "CheckBox42", "0"),
    TEXT_D(62, backgroundTitle, "LabeledEdit19", InterfaceString, "", kTextDefaultBackgroundTitle, kTrim),
    POS(63, headerPicturePosition, "Image1", Left, "left", "20"),
    Reserved(64),
    Reserved(65),
    SlotInfo{66, "LicenseFileList", SlotKind::PackedList, SlotDefault::EmptyFileList, "", 0, false,
             &GetFileList<&Project::licenseFiles>, &SetFileList<&Project::licenseFiles>},
    Reserved(67),
    TEXT(68, productVersion, "LabeledEdit29", "1.00", kTrim),
    TEXT_D(69, installerIcon, "LabeledEdit11", FirstFile, "Icons/Install/", 0, kTrim),
    TEXT_D(70, uninstallerIcon, "LabeledEdit17", FirstFile, "Icons/Uninstall/", 0, kTrim),
    Reserved(71),
    Reserved(72),
    SlotInfo{73, "InfoFileList", SlotKind::PackedList, SlotDefault::EmptyFileList, "", 0, false,
             &GetFileList<&Project::infoFiles>, &SetFileList<&Project::infoFiles>},
    TEXT_D(74, headerPicture, "LabeledEdit14", FirstFile, "Bitmaps/Header/", 0, kTrim),
    POS(75, headerPicturePosition, "Image1", Top, "top", "6"),
    TEXT_D(76, logoPicture, "LabeledEdit15", FirstFile, "Bitmaps/Wizard/", 0, kTrim),
    POS(77, logoPicturePosition, "Image2", Left, "left", "1"),
    POS(78, logoPicturePosition, "Image2", Top, "top", "1"),
    FLAG(79, headerPictureTransparent, "CheckBox6", "1"),
    Reserved(80),
    COLOR(81, headerGradientStart, "HeaderGradientColor1", "13533795"),
    FLAG(82, silentInstall, "CheckBox43", "0"),
    FLAG(83, showWelcomePage, "CheckBox44", "1"),
    FLAG(84, askPassword, "CheckBox24", "0"),
    TEXT(85, password, "LabeledEdit20", "", kKeep),
    TEXT(86, volumeFileName, "LabeledEdit25", "disk%i%.pak", kTrim),
    Reserved(87),
    Reserved(88),
    INDEX(89, splitting, "ComboBox4", 5, "0"),
    SlotInfo{90, "UpDown1", SlotKind::Number, SlotDefault::Literal, "0", 0, false, &GetUpDown, &SetUpDown},
    TEXT_D(91, uninstallerTitle, "LabeledEdit22", InterfaceString, "", kTextDefaultUninstallerTitle, kTrim),
    FLAG(92, passwordUpperCase, "CheckBox16", "0"),
    FLAG(93, showInstallFolderPage, "CheckBox45", "1"),
    COLOR(94, headerGradientEnd, "HeaderGradientColor2", "16777215"),
    FLAG(95, showProgramGroupPage, "CheckBox46", "1"),
    POS(96, headerTitlePosition, "Label22", Left, "left", "171"),
    POS(97, headerTitlePosition, "Label22", Top, "top", "8"),
    POS(98, headerDescriptionPosition, "Label23", Left, "left", "178"),
    POS(99, headerDescriptionPosition, "Label23", Top, "top", "26"),
    Reserved(100),
    Reserved(101),
    Reserved(102),
    Reserved(103),
    Reserved(104),
    Reserved(105),
    Reserved(106),
    Reserved(107),
    FLAG(108, showLicense, "CheckBox4", "0"),
    FLAG(109, showShortcutsPage, "CheckBox47", "1"),
    Reserved(110),
    Reserved(111),
    INDEX(112, dotNetVersion, "ComboBox5", 12, "7"),
    FLAG(113, installerClosesApp, "CheckBox36", "0"),
    TEXT(114, installerCloseAppText, "LabeledEdit8", "%ProductName%", kTrim),
    INDEX(115, installerCloseAppMatch, "ComboBox9", 3, "1"),
    Reserved(116),  // old files: licence text (project_file.cpp)
    Reserved(117),  // old files: information text
    FLAG(118, uninstallerClosesApp, "CheckBox37", "0"),
    TEXT(119, uninstallerCloseAppText, "LabeledEdit9", "%ProductName%", kTrim),
    INDEX(120, uninstallerCloseAppMatch, "ComboBox10", 3, "1"),
    INDEX(121, volumeSizeUnit, "ComboBox11", 4, "2"),
    FLAG(122, showReadyPage, "CheckBox48", "1"),
    FLAG(123, showFinishPage, "CheckBox49", "1"),
    Reserved(124),
    Reserved(125),
    Reserved(126),
    Reserved(127),
    Reserved(128),
}};

#undef TEXT
#undef TEXT_D
#undef FLAG
#undef INDEX
#undef COLOR
#undef FONT_INT
#undef FONT_COLOR
#undef FONT_NAME
#undef POS

std::string YearText(std::time_t now) {
  std::tm tm{};
  localtime_r(&now, &tm);
  return IntText(tm.tm_year + 1900);
}

}  // namespace

const std::array<SlotInfo, kSlotCount>& SlotTable() { return kSlots; }

const SlotInfo& SlotAt(int number) { return kSlots.at(static_cast<std::size_t>(number - 1)); }

std::string SlotDefaultValue(int number, const ProjectContext& context) {
  const SlotInfo& slot = SlotAt(number);
  switch (slot.DefaultFrom) {
    case SlotDefault::None:
      return {};
    case SlotDefault::Literal:
      return slot.DefaultText;
    case SlotDefault::InterfaceString:
      return InterfaceString(slot.DefaultIndex);
    case SlotDefault::CopyrightLine:
      // "©" in the single-byte code pages the project texts use.
      return "Copyright \xA9 " + YearText(context.Now()) + ", %CompanyName%";
    case SlotDefault::SetupFile:
      return DefaultSetupFile();
    case SlotDefault::FirstFile:
      return FirstFileInFolder(ProgramFolder() + slot.DefaultText);
    case SlotDefault::CurrentLanguage:
      return PackLines({context.InterfaceLanguage});
    case SlotDefault::AllSystems:
      return PackLines(std::vector<std::string>(kSystemCaptions.begin(), kSystemCaptions.end()));
    case SlotDefault::EmptyFileList:
      return PackLines({});
  }
  return {};
}

void ApplySlotDefaults(Project& project, const ProjectContext& context) {
  for (const SlotInfo& slot : kSlots)
    if (slot.Set) slot.Set(project, SlotDefaultValue(slot.Number, context));
}

}  // namespace bvq
