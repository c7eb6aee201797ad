#include "project/project_file.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "platform/system_info.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/old_project_versions.h"
#include "project/project_codec.h"
#include "project/project_rules.h"
#include "project/slot_table.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {

namespace {

constexpr std::size_t kMagicSize = 31;
constexpr std::size_t kHeaderSize = kMagicSize + 4;
static_assert(kProjectMagic.size() == kMagicSize);

constexpr const char* kNotice = "project file; open it with the program named above";

Status Failure(std::string message) { return Status::Fail(std::move(message)); }

Status NotAProject(const std::string& detail) {
  std::string message = InterfaceString(kTextNotAProjectFile);
  if (message.empty()) message = "The file is not a valid project file.";
  return Failure(message + " (" + detail + ")");
}

// A line of the project text never holds a line break.
void AppendLine(std::string& text, std::string_view line) {
  const std::size_t start = text.size();
  text.append(line);
  for (std::size_t i = start; i < text.size(); ++i)
    if (text[i] == '\r' || text[i] == '\n') text[i] = ' ';
  text += "\r\n";
}

std::string SaveTimeText(std::time_t now) {
  std::tm tm{};
  localtime_r(&now, &tm);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%H:%M:%S %d.%m.%Y", &tm);
  return buffer;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A count of the text: a decimal integer in 0..2^31-1.
std::optional<int64_t> ParseCount(std::string_view text) {
  auto value = ParseInteger(text);
  if (!value || *value < 0 || *value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return value;
}

// Lines of the project text with a read position.
class LineReader {
 public:
  explicit LineReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  bool AtEnd() const { return pos_ >= lines_.size(); }
  std::size_t Remaining() const { return lines_.size() - pos_; }
  const std::string& Next() { return lines_[pos_++]; }
  // Moves past the first line equal to `marker`; false when there is none.
  bool SkipPast(std::string_view marker) {
    while (pos_ < lines_.size())
      if (lines_[pos_++] == marker) return true;
    return false;
  }

 private:
  std::vector<std::string> lines_;
  std::size_t pos_ = 0;
};

// Reads the text into `project` (a copy of the open project); `sideFiles` receives the
// licence and information texts of very old files, to be written once the whole text was
// understood.
Status ParseProjectText(Project& project, std::string_view text, const std::string& path,
                                   const ProjectContext& context, std::vector<OldSideFile>& sideFiles) {
  LineReader reader(SplitLines(text));
  project.filePath = path;

  // The lists are read afresh; the font styles start from none.
  for (int list = 1; list <= kEntryListCount; ++list) project.EntryListAt(list).clear();
  project.backgroundTitleFont.Style = 0;
  project.backgroundCompanyFont.Style = 0;
  project.licenseFileIndex = 0;
  project.infoFileIndex = 0;

  if (!reader.SkipPast("[HEADER]")) return NotAProject("no [HEADER] line");
  std::vector<std::string> header;
  bool controls = false;
  while (!reader.AtEnd()) {
    const std::string& line = reader.Next();
    if (line == "[CONTROLS]") {
      controls = true;
      break;
    }
    header.push_back(line);
  }
  if (!controls) return NotAProject("no [CONTROLS] line");
  if (header.size() < 5) return NotAProject("the header has fewer than five lines");

  const auto version = ParseFileVersion(header[0]);
  if (!version) return NotAProject("version \"" + header[0] + "\" is not a number");
  project.cellLanguage = header[1];
  const auto slotCount = ParseCount(header[2]);
  if (!slotCount) return NotAProject("slot count \"" + header[2] + "\" is not a number");
  const auto listCount = ParseCount(header[4]);
  if (!listCount) return NotAProject("list count \"" + header[4] + "\" is not a number");
  if (*listCount > kEntryListCount) return NotAProject("more than eleven entry lists");
  if (static_cast<std::size_t>(*slotCount) > reader.Remaining())
    return NotAProject("fewer setting lines than the header announces");

  for (int number = 1; number <= *slotCount; ++number) {
    const std::string& value = reader.Next();
    if (number > kSlotCount) continue;
    if (!ApplyFileSlot(project, number, value, *version, path, context, sideFiles))
      return NotAProject("setting " + std::to_string(number) + " holds \"" + value + "\", not a number");
    context.Pump();
  }

  std::vector<int64_t> columns, rows;
  if (!reader.SkipPast("[LIST_COUNT_DATA_SIZE]")) return NotAProject("no [LIST_COUNT_DATA_SIZE] line");
  for (int64_t i = 0; i < *listCount; ++i) {
    if (reader.AtEnd()) return NotAProject("fewer column counts than lists");
    const std::string& line = reader.Next();
    const auto count = ParseCount(line);
    if (!count) return NotAProject("column count \"" + line + "\" is not a number");
    columns.push_back(*count);
  }
  if (!reader.SkipPast("[LIST_COUNT_DATA_LIST_SIZE]")) return NotAProject("no [LIST_COUNT_DATA_LIST_SIZE] line");
  for (int64_t i = 0; i < *listCount; ++i) {
    if (reader.AtEnd()) return NotAProject("fewer entry counts than lists");
    const std::string& line = reader.Next();
    const auto count = ParseCount(line);
    if (!count) return NotAProject("entry count \"" + line + "\" is not a number");
    rows.push_back(*count);
  }
  // Every list's rows must fit into the lines that are left after the lists before it; the
  // comparison divides instead of multiplying, so crafted counts cannot wrap around.
  uint64_t available = reader.Remaining();
  for (int64_t i = 0; i < *listCount; ++i) {
    const uint64_t linesPerRow = static_cast<uint64_t>(columns[i] > 1 ? columns[i] : 1);
    const uint64_t rowCount = static_cast<uint64_t>(rows[i]);
    if (rowCount > available / linesPerRow) return NotAProject("fewer entry lines than the counts announce");
    available -= rowCount * linesPerRow;
  }

  for (int64_t i = 0; i < *listCount; ++i) {
    EntryList& list = project.EntryListAt(static_cast<int>(i) + 1);
    list.Rows.reserve(static_cast<std::size_t>(rows[i]));
    for (int64_t r = 0; r < rows[i]; ++r) {
      EntryRow row;
      row.Caption = reader.Next();
      for (int64_t c = 1; c < columns[i]; ++c) row.SubItems.push_back(reader.Next());
      list.Append(std::move(row));
    }
    context.Pump();
  }
  return Status::Ok();
}

}  // namespace

std::string BuildProjectText(const Project& project, const std::string& path, const ProjectContext& context) {
  std::string text;
  text.reserve(4096 + project.EntryCount() * 64);
  AppendLine(text, "[INFO]");
  AppendLine(text, std::string(kProgramName) + " " + ProgramVersion() + " | " + kNotice);
  AppendLine(text, path);
  AppendLine(text, UserName());
  AppendLine(text, OrganizationName());
  AppendLine(text, DefaultMailAddress());
  AppendLine(text, SaveTimeText(context.Now()));
  AppendLine(text, "[HEADER]");
  AppendLine(text, ProgramVersion());
  AppendLine(text, context.InterfaceLanguage);
  AppendLine(text, std::to_string(kProjectSlotLines));
  AppendLine(text, std::to_string(kProjectSlotLines + project.EntryCount()));
  AppendLine(text, std::to_string(kEntryListCount));
  AppendLine(text, "[CONTROLS]");
  for (const SlotInfo& slot : SlotTable()) {
    AppendLine(text, slot.Get ? slot.Get(project) : std::string());
    context.Pump();
  }
  AppendLine(text, "[LIST_COUNT_DATA_SIZE]");
  for (int list = 1; list <= kEntryListCount; ++list)
    AppendLine(text, std::to_string(project.EntryListAt(list).ColumnCount()));
  AppendLine(text, "[LIST_COUNT_DATA_LIST_SIZE]");
  for (int list = 1; list <= kEntryListCount; ++list)
    AppendLine(text, std::to_string(project.EntryListAt(list).size()));
  for (int list = 1; list <= kEntryListCount; ++list) {
    const EntryList& entries = project.EntryListAt(list);
    for (const EntryRow& row : entries.Rows) {
      for (int column = 0; column < entries.ColumnCount(); ++column) AppendLine(text, row.Cell(column));
      context.Pump();
    }
  }
  AppendLine(text, "[END_PROJECT]");
  return text;
}

Outcome<ProjectLoad> ReadProjectText(Project& project, std::string_view text, const std::string& path,
                                     const ProjectContext& context) {
  Project loaded = project;  // slots the file does not carry keep their values
  std::vector<OldSideFile> sideFiles;
  if (Status parsed = ParseProjectText(loaded, text, path, context, sideFiles); !parsed) return parsed;
  ProjectLoad report;
  for (const OldSideFile& side : sideFiles) {
    if (!side.exists)
      if (Status written = WriteNewFile(side.path, side.content); !written) return written;
    if (!side.note.empty()) report.notes.push_back(side.note);
  }
  NormalizeProject(loaded, context);
  RetranslateProjectCells(loaded, context);
  loaded.filePath = path;
  project = std::move(loaded);  // the listeners stay with `project`
  return report;
}

std::string MakeProjectFileBytes(std::string_view text) {
  const std::string payload = EncodeText(ScrambleText(text));
  std::string bytes(kProjectMagic);
  const uint32_t length = static_cast<uint32_t>(payload.size());
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
  bytes += payload;
  return bytes;
}

Outcome<std::string> ProjectTextFromFileBytes(std::string_view bytes) {
  if (bytes.size() < kMagicSize || bytes.substr(0, kMagicSize) != kProjectMagic)
    return NotAProject("wrong file type");
  if (bytes.size() < kHeaderSize) return NotAProject("the length field is missing");
  uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[kMagicSize + i])) << (8 * i);
  const int32_t length = static_cast<int32_t>(raw);
  if (length < 0) return NotAProject("negative length field");
  if (static_cast<uint64_t>(length) > bytes.size() - kHeaderSize)
    return NotAProject("the file is shorter than its length field says");
  return UnscrambleText(DecodeText(bytes.substr(kHeaderSize, static_cast<std::size_t>(length))));
}

Status SaveProject(Project& project, ProjectSession& session, const std::string& path,
                   const ProjectContext& context) {
  session.busy = true;
  project.Notify(ProjectChange::WorkingState);
  NormalizeProject(project, context);
  const std::string text = BuildProjectText(project, path, context);
  Status result;
  // The length field is a signed 32-bit number.
  if ((text.size() + 2) / 3 * 4 > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
    result = Failure("The project is too large to be saved: " + path);
  } else {
    result = WriteFileAtomic(path, MakeProjectFileBytes(text));
  }
  session.busy = false;
  if (result) {
    project.filePath = path;
    session.modified = false;
    project.Notify(ProjectChange::Saved);
  } else {
    project.Notify(ProjectChange::WorkingState);
  }
  return result;
}

Outcome<ProjectLoad> LoadProject(Project& project, ProjectSession& session, const std::string& path,
                                 const ProjectContext& context) {
  session.busy = true;
  project.Notify(ProjectChange::WorkingState);
  Outcome<ProjectLoad> result = ProjectLoad{};
  const auto bytes = ReadFileBytes(path);
  if (!bytes) {
    result = Failure("The project file cannot be read: " + path + ": " + FileErrorText(errno));
  } else if (Outcome<std::string> text = ProjectTextFromFileBytes(*bytes); !text) {
    result = text.status();
  } else {
    result = ReadProjectText(project, *text, path, context);
  }
  session.busy = false;
  if (result) {
    session.modified = false;
    session.buildCurrent = false;
  }
  project.Notify(result ? ProjectChange::Replaced : ProjectChange::WorkingState);
  return result;
}

Outcome<std::string> ExportProjectText(const std::string& projectPath) {
  const auto bytes = ReadFileBytes(projectPath);
  if (!bytes) return Failure("The project file cannot be read: " + projectPath + ": " + FileErrorText(errno));
  return ProjectTextFromFileBytes(*bytes);
}

Status ImportProjectText(const std::string& textPath, const std::string& outPath) {
  const auto text = ReadFileBytes(textPath);
  if (!text) return Failure("The text file cannot be read: " + textPath + ": " + FileErrorText(errno));
  // Only a text that reads as a project becomes a project file.
  Project scratch;
  std::vector<OldSideFile> sideFiles;
  if (Status check = ParseProjectText(scratch, *text, outPath, ProjectContext{}, sideFiles); !check)
    return Failure(textPath + ": " + check.error);
  return WriteFileAtomic(outPath, MakeProjectFileBytes(*text));
}

}  // namespace bvq
