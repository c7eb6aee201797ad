#include "project/slot_table.h"

#include <charconv>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>

#include "platform/shell_folders.h"
#include "project/interface_strings.h"
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
std::string GetUpDown(const Project& p) { return IntText(static_cast<int16_t>(p.UpDown1)); }
bool SetUpDown(Project& p, std::string_view v) {
  const auto value = ParseInt32(v);
  if (!value) return false;
  p.UpDown1 = *value < 0 ? 0 : (*value > 32767 ? 32767 : *value);
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
  return CheckListText(p.LanguageListView, [](const std::string& c) { return LanguageNameOfCaption(c); });
}
bool SetLanguages(Project& p, std::string_view v) {
  const auto lines = UnpackLines(v);
  for (std::size_t i = 0; i < p.LanguageListView.size(); ++i) p.SetLanguageChecked(i, false);
  for (std::size_t i = 0; i < p.LanguageListView.size(); ++i)
    if (ContainsLine(lines, LanguageNameOfCaption(p.LanguageListView[i].Caption))) p.SetLanguageChecked(i, true);
  return true;
}

std::string GetSystems(const Project& p) {
  return CheckListText(p.VersionsListView, [](const std::string& c) { return c; });
}
bool SetSystems(Project& p, std::string_view v) {
  const auto lines = UnpackLines(v);
  for (auto& item : p.VersionsListView) item.Checked = ContainsLine(lines, item.Caption);
  return true;
}

// Slots 66 and 73: the whole list, then fitted to the combo box items.
template <std::vector<std::string> Project::*L>
std::string GetFileList(const Project& p) { return PackLines(p.*L); }
template <std::vector<std::string> Project::*L>
bool SetFileList(Project& p, std::string_view v) {
  auto lines = UnpackLines(v);
  lines.resize(1 + p.CheckedLanguageCaptions().size());
  p.*L = std::move(lines);
  return true;
}

// --- table ---

constexpr SlotInfo Reserved(int n) { return SlotInfo{n, "", SlotKind::Reserved}; }

#define TEXT(n, member, def, trim) \
  SlotInfo{n, #member, SlotKind::Text, SlotDefault::Literal, def, 0, trim, &GetText<&Project::member>, &SetText<&Project::member>}
#define TEXT_D(n, member, from, def, idx, trim) \
  SlotInfo{n, #member, SlotKind::Text, SlotDefault::from, def, idx, trim, &GetText<&Project::member>, &SetText<&Project::member>}
#define FLAG(n, member, def) \
  SlotInfo{n, #member, SlotKind::Flag, SlotDefault::Literal, def, 0, false, &GetFlag<&Project::member>, &SetFlag<&Project::member>}
#define INDEX(n, member, items, def)                                                               \
  SlotInfo{n, #member, SlotKind::Index, SlotDefault::Literal, def, 0, false, &GetIndex<&Project::member, items>, \
           &SetIndex<&Project::member, items>}
#define COLOR(n, member, def) \
  SlotInfo{n, #member, SlotKind::Number, SlotDefault::Literal, def, 0, false, &GetColor<&Project::member>, &SetColor<&Project::member>}
#define FONT_INT(n, font, part, mask, label, def)                                              \
  SlotInfo{n, #font " " label, SlotKind::Number, SlotDefault::Literal, def, 0, false,            \
           &GetFontInt<&Project::font, &FontSetting::part, mask>, &SetFontInt<&Project::font, &FontSetting::part, mask>}
#define FONT_COLOR(n, font, def)                                                             \
  SlotInfo{n, #font " colour", SlotKind::Number, SlotDefault::Literal, def, 0, false, &GetFontColor<&Project::font>, \
           &SetFontColor<&Project::font>}
#define FONT_NAME(n, font, def)                                                          \
  SlotInfo{n, #font " name", SlotKind::Text, SlotDefault::Literal, def, 0, false, &GetFontName<&Project::font>, \
           &SetFontName<&Project::font>}
#define POS(n, item, part, label, def)                                                                 \
  SlotInfo{n, #item " " label, SlotKind::Number, SlotDefault::Literal, def, 0, false, &GetPos<&Project::item, &PreviewPos::part>, \
           &SetPos<&Project::item, &PreviewPos::part>}

// Trimmed by normalisation: LabeledEdit1..17, 19, 22, 25, 27, 28, 29 and Edit1, 2, 3, 6, 8, 9, 10.
constexpr bool kTrim = true, kKeep = false;

const std::array<SlotInfo, kSlotCount> kSlots = {{
    TEXT_D(1, LabeledEdit16, CopyrightLine, "", 0, kTrim),
    FLAG(2, CheckBox1, "0"),
    FLAG(3, RadioButton6, "1"),
    TEXT(4, LabeledEdit27, "", kTrim),
    COLOR(5, BackGradientColor1, "16744576"),
    COLOR(6, BackGradientColor2, "0"),
    INDEX(7, ComboBox7, 2, "0"),
    INDEX(8, ComboBox8, 3, "0"),
    TEXT_D(9, LabeledEdit19, InterfaceString, "", 163, kTrim),
    TEXT_D(10, LabeledEdit28, CopyrightLine, "", 0, kTrim),
    FONT_INT(11, TitleBackFont, Size, 0, "size", "28"),
    FONT_NAME(12, TitleBackFont, "Tahoma"),
    FONT_COLOR(13, TitleBackFont, "16777215"),
    FONT_INT(14, TitleBackFont, Charset, 0xFF, "character set", "1"),
    FONT_INT(15, TitleBackFont, Style, 0xFF, "style", "2"),
    FONT_INT(16, CompanyBackFont, Style, 0xFF, "style", "0"),
    FONT_COLOR(17, CompanyBackFont, "16777215"),
    FONT_INT(18, CompanyBackFont, Charset, 0xFF, "character set", "1"),
    FONT_INT(19, CompanyBackFont, Size, 0, "size", "8"),
    FONT_NAME(20, CompanyBackFont, "Tahoma"),
    FLAG(21, CheckBox13, "0"),
    FLAG(22, CheckBox10, "1"),
    SlotInfo{23, "LanguageListView", SlotKind::PackedList, SlotDefault::CurrentLanguage, "", 0, false, &GetLanguages, &SetLanguages},
    SlotInfo{24, "VersionsListView", SlotKind::PackedList, SlotDefault::AllSystems, "", 0, false, &GetSystems, &SetSystems},
    TEXT_D(25, LabeledEdit5, SetupFile, "", 0, kTrim),
    FLAG(26, CheckBox39, "0"),
    TEXT_D(27, LabeledEdit6, InterfaceString, "", 130, kTrim),
    TEXT(28, LabeledEdit4, "Company", kTrim),
    TEXT(29, LabeledEdit2, "NewProduct", kTrim),
    TEXT(30, LabeledEdit13, "%ProductName% %ProductVersion%", kTrim),
    FLAG(31, CheckBox15, "0"),
    FLAG(32, CheckBox7, "0"),
    TEXT(33, LabeledEdit1, "%InstallPath%\\Uninstall.exe", kTrim),
    TEXT(34, LabeledEdit3, "%InstallPath%\\Uninstall.ini", kTrim),
    FLAG(35, CheckBox17, "0"),
    FLAG(36, CheckBox5, "0"),
    TEXT(37, Edit6, "http://", kTrim),
    INDEX(38, ComboBox1, 3, "2"),
    TEXT(39, LabeledEdit7, "http://", kTrim),
    TEXT(40, Edit2, "", kTrim),
    FLAG(41, CheckBox25, "0"),
    FLAG(42, CheckBox14, "1"),
    INDEX(43, ComboBox2, 2, "0"),
    FLAG(44, CheckBox2, "1"),
    FLAG(45, CheckBox8, "0"),
    FLAG(46, CheckBox12, "1"),
    TEXT(47, Edit3, "", kTrim),
    FLAG(48, CheckBox3, "1"),
    FLAG(49, CheckBox38, "0"),
    TEXT(50, Edit8, "http://www.example.com", kTrim),
    FLAG(51, CheckBox26, "1"),
    FLAG(52, CheckBox9, "0"),
    FLAG(53, CheckBox40, "1"),
    TEXT(54, Edit1, "mailto:support@example.com", kTrim),
    FLAG(55, CheckBox41, "0"),
    TEXT(56, LabeledEdit10, "%ProductName% %ProductVersion%", kTrim),
    FLAG(57, CheckBox11, "1"),
    TEXT(58, Edit10, "%ProductName%", kTrim),
    TEXT(59, LabeledEdit12, "%ProgramFiles%\\%CompanyName%\\%ProductName%", kTrim),
    TEXT(60, Edit9, "http://", kTrim),
    FLAG(61, CheckBox42, "0"),
    TEXT_D(62, LabeledEdit19, InterfaceString, "", 163, kTrim),
    POS(63, Image1, Left, "left", "20"),
    Reserved(64),
    Reserved(65),
    SlotInfo{66, "LicenseFileList", SlotKind::PackedList, SlotDefault::EmptyFileList, "", 0, false,
             &GetFileList<&Project::LicenseFileList>, &SetFileList<&Project::LicenseFileList>},
    Reserved(67),
    TEXT(68, LabeledEdit29, "1.00", kTrim),
    TEXT_D(69, LabeledEdit11, FirstFile, "Icons/Install/", 0, kTrim),
    TEXT_D(70, LabeledEdit17, FirstFile, "Icons/Uninstall/", 0, kTrim),
    Reserved(71),
    Reserved(72),
    SlotInfo{73, "InfoFileList", SlotKind::PackedList, SlotDefault::EmptyFileList, "", 0, false,
             &GetFileList<&Project::InfoFileList>, &SetFileList<&Project::InfoFileList>},
    TEXT_D(74, LabeledEdit14, FirstFile, "Bitmaps/Header/", 0, kTrim),
    POS(75, Image1, Top, "top", "6"),
    TEXT_D(76, LabeledEdit15, FirstFile, "Bitmaps/Wizard/", 0, kTrim),
    POS(77, Image2, Left, "left", "1"),
    POS(78, Image2, Top, "top", "1"),
    FLAG(79, CheckBox6, "1"),
    Reserved(80),
    COLOR(81, HeaderGradientColor1, "13533795"),
    FLAG(82, CheckBox43, "0"),
    FLAG(83, CheckBox44, "1"),
    FLAG(84, CheckBox24, "0"),
    TEXT(85, LabeledEdit20, "", kKeep),
    TEXT(86, LabeledEdit25, "disk%i%.pak", kTrim),
    Reserved(87),
    Reserved(88),
    INDEX(89, ComboBox4, 5, "0"),
    SlotInfo{90, "UpDown1", SlotKind::Number, SlotDefault::Literal, "0", 0, false, &GetUpDown, &SetUpDown},
    TEXT_D(91, LabeledEdit22, InterfaceString, "", 162, kTrim),
    FLAG(92, CheckBox16, "0"),
    FLAG(93, CheckBox45, "1"),
    COLOR(94, HeaderGradientColor2, "16777215"),
    FLAG(95, CheckBox46, "1"),
    POS(96, Label22, Left, "left", "171"),
    POS(97, Label22, Top, "top", "8"),
    POS(98, Label23, Left, "left", "178"),
    POS(99, Label23, Top, "top", "26"),
    Reserved(100),
    Reserved(101),
    Reserved(102),
    Reserved(103),
    Reserved(104),
    Reserved(105),
    Reserved(106),
    Reserved(107),
    FLAG(108, CheckBox4, "0"),
    FLAG(109, CheckBox47, "1"),
    Reserved(110),
    Reserved(111),
    INDEX(112, ComboBox5, 12, "7"),
    FLAG(113, CheckBox36, "0"),
    TEXT(114, LabeledEdit8, "%ProductName%", kTrim),
    INDEX(115, ComboBox9, 3, "1"),
    Reserved(116),  // old files: licence text (project_file.cpp)
    Reserved(117),  // old files: information text
    FLAG(118, CheckBox37, "0"),
    TEXT(119, LabeledEdit9, "%ProductName%", kTrim),
    INDEX(120, ComboBox10, 3, "1"),
    INDEX(121, ComboBox11, 4, "2"),
    FLAG(122, CheckBox48, "1"),
    FLAG(123, CheckBox49, "1"),
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
