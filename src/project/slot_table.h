#pragma once
// The 128 numbered slots of the project file: which member holds each, how it is written as
// one line of text, its default for a new project and whether normalisation trims it. This
// one table drives saving, loading, the defaults and the trimming of texts.
#include <array>
#include <string>
#include <string_view>

#include "project/project.h"
#include "project/project_context.h"

namespace bvq {

enum class SlotKind {
  Text,        // the text, verbatim
  Flag,        // "1" checked, "0" not; reading: exactly "1" checks
  Index,       // combo box item index, decimal
  Number,      // signed decimal integer
  PackedList,  // lines joined by CR LF, then EncodeText
  Reserved,    // written empty, ignored when read
};

// Where a slot's default comes from.
enum class SlotDefault {
  None,             // reserved slots
  Literal,          // DefaultText
  InterfaceString,  // interface string DefaultIndex
  CopyrightLine,    // "Copyright © " + year + ", %CompanyName%"
  SetupFile,        // documents folder + "Setup.exe"
  FirstFile,        // first file of ProgramFolder + DefaultText
  CurrentLanguage,  // the interface language checked alone (slot 23)
  AllSystems,       // all ten systems (slot 24)
  EmptyFileList,    // one empty entry per combo item (slots 66, 73)
};

struct SlotInfo {
  int Number = 0;
  const char* Holder = "";  // control name ("LabeledEdit2", "TitleBackFont size", ...)
  SlotKind Kind = SlotKind::Reserved;
  SlotDefault DefaultFrom = SlotDefault::None;
  const char* DefaultText = "";
  int DefaultIndex = 0;
  bool Trim = false;  // normalisation removes leading and trailing blanks
  // The slot's line as written; nullptr for reserved slots.
  std::string (*Get)(const Project&) = nullptr;
  // Applies a line read from a file; false (project unchanged) for a number or index that
  // is not a decimal integer. nullptr for reserved slots.
  bool (*Set)(Project&, std::string_view) = nullptr;
};

inline constexpr int kSlotCount = 128;

// Slots 1..128 at index 0..127.
const std::array<SlotInfo, kSlotCount>& SlotTable();
// Slot `number` (1..128).
const SlotInfo& SlotAt(int number);

// The line a slot would carry in a new project.
std::string SlotDefaultValue(int number, const ProjectContext& context);
// Puts every slot to its default (through the slots' setters).
void ApplySlotDefaults(Project& project, const ProjectContext& context);

// Packed-list helpers: lines joined by CR LF and encoded; decoded and split at CR LF, CR or
// LF (a final line end adds no empty line).
std::string PackLines(const std::vector<std::string>& lines);
std::vector<std::string> UnpackLines(std::string_view packed);
// Splits a text into lines the same way.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace bvq
