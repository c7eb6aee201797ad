#include "project/old_project_versions.h"

#include <charconv>
#include <filesystem>

#include "project/project_codec.h"
#include "project/project_paths.h"
#include "project/slot_table.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

namespace {

// Slots whose value files up to version `upTo` did not carry: the slot gets `fixed`, or its
// new-project default when `fixed` is null.
struct IgnoredSlot {
  int slot;
  int upTo;
  const char* fixed;
};
constexpr IgnoredSlot kIgnoredSlots[] = {
    {25, 301, nullptr},  {33, 319, nullptr}, {34, 319, nullptr}, {35, 399, "0"},      {39, 399, "http://"},
    {42, 399, "1"},      {43, 503, "0"},     {51, 249, "1"},     {53, 249, "1"},      {58, 503, "%ProductName%"},
    {69, 409, nullptr},  {70, 409, nullptr}, {83, 279, "1"},     {93, 279, "1"},      {95, 279, "1"},
    {96, 319, "171"},    {97, 319, "8"},     {98, 319, "178"},   {99, 319, "26"},     {109, 279, "1"},
    {122, 299, "1"},     {123, 299, "1"},
};

std::optional<long long> ParseDecimal(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool SetSlot(Project& project, int number, std::string_view value) {
  const SlotInfo& slot = SlotAt(number);
  return slot.Set ? slot.Set(project, value) : true;
}

// The file at `path`: nullopt when nothing is there (not even a dangling link); otherwise its
// bytes, or an empty optional string when it cannot be read as a regular file.
std::optional<std::optional<std::string>> ExistingContent(const std::string& path) {
  std::error_code error;
  if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found)
    return std::nullopt;
  return ReadFileBytes(path);
}

}  // namespace

OldSideFile PlaceOldSideFile(const std::string& usualPath, std::string content) {
  // Up to this many numbered names are tried before the text is left unwritten.
  constexpr int kMaxNumberedNames = 1000;
  const std::string dotted = ExtractFileExt(usualPath);
  const std::string stem = usualPath.substr(0, usualPath.size() - dotted.size());
  for (int n = 1; n <= kMaxNumberedNames; ++n) {
    const std::string path = n == 1 ? usualPath : stem + " (" + std::to_string(n) + ")" + dotted;
    const auto existing = ExistingContent(path);
    if (existing && *existing != content) continue;
    OldSideFile side{path, std::move(content), existing.has_value(), {}};
    if (n > 1)
      side.note = usualPath + " holds other text and was left as it is; the text this project carries is in " + path;
    return side;
  }
  return OldSideFile{usualPath, std::move(content), true,
                     usualPath + " and its numbered alternatives hold other text; the text this project carries was "
                                 "not written"};
}

std::optional<int> ParseFileVersion(std::string_view versionLine) {
  std::string text(versionLine);
  const auto dot = text.find('.');
  if (dot != std::string::npos) text.erase(dot, 1);
  const auto beta = text.find(" beta");
  if (beta != std::string::npos) text.erase(beta);
  const auto value = ParseDecimal(text);
  if (!value || *value < -2147483647 || *value > 2147483647) return std::nullopt;
  return static_cast<int>(*value);
}

bool ApplyFileSlot(Project& project, int number, const std::string& value, int version,
                   const std::string& projectPath, const ProjectContext& context,
                   std::vector<OldSideFile>& sideFiles) {
  for (const IgnoredSlot& ignored : kIgnoredSlots) {
    if (ignored.slot != number || version > ignored.upTo) continue;
    return SetSlot(project, number, ignored.fixed ? std::string(ignored.fixed) : SlotDefaultValue(number, context));
  }
  switch (number) {
    case 24:  // supported systems: not stored up to 301, all-or-nothing up to 502
      if (version <= 301) {
        for (auto& item : project.supportedSystems) item.Checked = true;
        return true;
      }
      if (version <= 502) {
        const bool any = !UnpackLines(value).empty();
        for (auto& item : project.supportedSystems) item.Checked = any;
        return true;
      }
      break;
    case 38:  // compression: a fourth level of old files is the strongest now
      if (version < 500) {
        const auto index = ParseDecimal(value);
        if (index && *index == 3) return SetSlot(project, number, "2");
      }
      break;
    case 66:
    case 73:  // one plain path (the shared entry) up to 420
      if (version <= 420) {
        auto& list = number == 66 ? project.licenseFiles : project.infoFiles;
        list.assign(1 + project.CheckedLanguageCaptions().size(), std::string());
        list[0] = value;
        return true;
      }
      break;
    case 74:  // header picture: kept only when it names an existing file
      if (version <= 503) {
        if (ProjectFileExists(project, value)) return SetSlot(project, number, value);
        return SetSlot(project, number, SlotDefaultValue(number, context));
      }
      break;
    case 112:  // .NET versions: two entries were added before index 4
      if (version <= 502) {
        const auto index = ParseDecimal(value);
        if (!index) return false;
        if (*index > 3) return SetSlot(project, number, std::to_string(*index + 2));
      }
      break;
    case 116:
    case 117:  // the licence and information texts themselves, up to 269
      if (version <= 269) {
        std::string content = UnscrambleText(DecodeText(value));
        if (content.size() < 111) return true;
        const std::string base = NativePath(projectPath);
        const std::string name = ExtractFileName(base);
        const std::string stem = name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
        const std::string usual = ExtractFilePath(base) + stem + (number == 116 ? "_License.rtf" : "_Info.rtf");
        OldSideFile side = PlaceOldSideFile(usual, std::move(content));
        if (number == 116) project.SetSelectedLicenseFile(side.path);
        else project.SetSelectedInfoFile(side.path);
        sideFiles.push_back(std::move(side));
      }
      return true;
    default:
      break;
  }
  return SetSlot(project, number, value);
}

}  // namespace bvq
