#pragma once
// Windows' own rich-edit control as a judge of our RTF: tests/rtf/richedit_dump.c, cross-built
// for Windows, loads a file into the control the installer's licence page uses and writes what
// the control made of it; here it runs under Wine (no display: Wine's null graphics driver) and
// its record is read back. Each caller names its own Wine prefix, made on first use.
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "oracle_tools.h"
#include "rtf/rich_text.h"
#include "util/files.h"

namespace bvq::rtf::test {

struct RichEditRun {
  std::string styles;  // "b", "i", "u", "s" in that order, "-" for none
  std::string colour;  // "RRGGBB", or "auto" for the window text colour
  int sizeTwips = 0;
  std::string face;
  std::string text;    // tabs as "\t", line breaks as "\n"
};

struct RichEditParagraph {
  std::string alignment;  // left, centre, right, justify
  std::string numbering;  // none, bullet, decimal, lower-letter, upper-letter, lower-roman, upper-roman
  std::vector<RichEditRun> runs;
};

struct RichEditView {
  std::string error;  // set when the control could not be run; the paragraphs are then empty
  std::vector<RichEditParagraph> paragraphs;
};

inline std::string RichEditDumpProgram() { return std::string(BVQ_BINARY_DIR) + "/tests/richedit_dump.exe"; }

// "" when the dump program was built (it needs the mingw tool chain), else why not.
inline std::string RichEditMissingReason() {
  if (!FileExists(RichEditDumpProgram())) return "the rich-edit dump program was not built (no mingw tool chain)";
  return "";
}

inline std::string WineEnvironment(const std::string& prefix) {
  return "env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX=" + Quoted(prefix) +
         " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' ";
}

// Makes the prefix once (other test processes may be at it too: a lock file beside it serialises
// them) with the null graphics driver, so that windows need no X display.
inline std::string PrepareRichEditPrefix(const std::string& prefix) {
  std::filesystem::create_directories(std::filesystem::path(prefix).parent_path());
  const int lock = open((prefix + ".lock").c_str(), O_CREAT | O_RDWR, 0644);
  if (lock < 0 || flock(lock, LOCK_EX) != 0) return "cannot lock " + prefix + ".lock";
  std::string error;
  if (!FileExists(prefix + "/system.reg") || !FileExists(prefix + "/.null-graphics")) {
    const std::string wine = WineEnvironment(prefix);
    const CommandResult boot = RunCommand(wine + "timeout 600 wineboot -i && " + wine +
                                          "timeout 120 wine reg add 'HKCU\\Software\\Wine\\Drivers' /v Graphics /d null /f && " +
                                          wine + "timeout 120 wineserver -w");
    if (boot.status != 0) error = "making the Wine prefix failed: " + boot.output;
    else std::ofstream(prefix + "/.null-graphics");
  }
  close(lock);
  return error;
}

inline std::string WindowsPath(const std::string& path) {
  std::string windows = "Z:" + std::filesystem::absolute(path).string();
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

inline std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

// What the rich-edit control shows of the RTF file at `rtfPath`, run in the Wine prefix `prefix`.
inline RichEditView ShowInRichEdit(const std::string& rtfPath, const std::string& prefix) {
  RichEditView view;
  if (std::string error = PrepareRichEditPrefix(prefix); !error.empty()) {
    view.error = error;
    return view;
  }
  const std::string record = rtfPath + ".richedit.txt";
  std::filesystem::remove(record);
  const CommandResult run = RunCommand(WineEnvironment(prefix) + "timeout 300 wine " + Quoted(RichEditDumpProgram()) +
                                       " " + Quoted(WindowsPath(rtfPath)) + " " + Quoted(WindowsPath(record)));
  const std::optional<std::string> bytes = ReadFileBytes(record);
  if (run.status != 0 || !bytes) {
    view.error = "the rich-edit dump program failed (status " + std::to_string(run.status) + "): " + run.output;
    return view;
  }
  std::stringstream lines(*bytes);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() == 3 && f[0] == "paragraph") {
      view.paragraphs.push_back({f[1], f[2], {}});
    } else if (f.size() == 6 && f[0] == "run" && !view.paragraphs.empty()) {
      view.paragraphs.back().runs.push_back({f[1], f[2], std::atoi(f[3].c_str()), f[4], f[5]});
    } else {
      view.error = "unexpected line in the rich-edit record: " + line;
      return view;
    }
  }
  return view;
}

// The rich-edit form of a model paragraph: what the control should show for it (adjacent runs
// that differ only in what the control does not report are one run there).
inline RichEditParagraph ExpectedRichEdit(const Paragraph& paragraph) {
  // Wine's control reads \qj but shows and reports the paragraph aligned left.
  static const char* const kAlignments[] = {"left", "centre", "right", "left"};
  static const char* const kNumberings[] = {"none",        "bullet",       "decimal",    "lower-letter",
                                            "upper-letter", "lower-roman", "upper-roman"};
  RichEditParagraph expected{kAlignments[static_cast<int>(paragraph.format.alignment)],
                             kNumberings[static_cast<int>(paragraph.format.list.style)],
                             {}};
  for (const Run& run : paragraph.runs) {
    const CharFormat& f = run.format;
    RichEditRun shown;
    shown.styles = std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : "") +
                   (f.strikeOut ? "s" : "");
    if (shown.styles.empty()) shown.styles = "-";
    char colour[8] = "auto";
    if (f.color) std::snprintf(colour, sizeof colour, "%02X%02X%02X", f.color->red, f.color->green, f.color->blue);
    shown.colour = colour;
    shown.sizeTwips = f.sizeHalfPoints * 10;
    shown.face = f.fontName.empty() ? kDefaultFontName : f.fontName;
    for (char c : run.text) {
      if (c == '\t') shown.text += "\\t";
      else if (c == '\n') shown.text += "\\n";
      else if (c == '\\') shown.text += "\\\\";
      else shown.text += c;
    }
    RichEditRun* last = expected.runs.empty() ? nullptr : &expected.runs.back();
    if (last && last->styles == shown.styles && last->colour == shown.colour && last->sizeTwips == shown.sizeTwips &&
        last->face == shown.face)
      last->text += shown.text;
    else
      expected.runs.push_back(shown);
  }
  return expected;
}

inline std::string Describe(const RichEditParagraph& p) {
  std::string text = p.alignment + " " + p.numbering + ":";
  for (const RichEditRun& r : p.runs)
    text += " [" + r.styles + " " + r.colour + " " + std::to_string(r.sizeTwips) + " " + r.face + "]" + r.text;
  return text;
}

}  // namespace bvq::rtf::test
