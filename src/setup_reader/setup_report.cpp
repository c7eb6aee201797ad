#include "setup_reader/setup_report.h"

#include <cstdio>

#include "util/code_page.h"
#include "util/strings.h"

namespace bvq {
namespace {

// Texts from the setup printed for a terminal: control characters are shown as "?" (JSON
// escapes them instead).
std::string Utf8(const std::string& ansi) { return ControlsAsQuestionMarks(AnsiToUtf8(ansi)); }

std::string StorageName(const SetupContents& s) {
  return s.trailer.cabinets ? "cabinets" : "stored";
}

std::string Json(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

const char* VerdictName(SetupVerdict v) {
  return v == SetupVerdict::Whole ? "whole" : v == SetupVerdict::Damaged ? "damaged" : "not a setup";
}

}  // namespace

std::string SetupProblemLines(const SetupContents& s) {
  std::string out;
  for (const SetupProblem& p : s.problems) out += ControlsAsQuestionMarks(p.where + ": " + p.what) + "\n";
  return out;
}

std::string SetupReportText(const SetupContents& s) {
  std::string out;
  char line[512];
  out += "Setup:       " + ControlsAsQuestionMarks(s.path) + (s.signedFile ? " (signed)" : "") + "\n";
  out += "Built by:    " + Utf8(s.Field(kFieldBuilder)) + "\n";
  out += "Product:     " + Utf8(s.Field(kFieldProduct)) + "\n";
  out += "Version:     " + Utf8(s.Field(kFieldVersion)) + "\n";
  out += "Company:     " + Utf8(s.Field(kFieldCompany)) + "\n";
  out += "Storage:     " + StorageName(s) + ", compression " + (s.compression.empty() ? "unknown" : s.compression) + "\n";
  out += "Volumes:     " + std::to_string(s.volumes.size()) + "\n";
  for (size_t i = 0; i < s.volumes.size(); ++i) {
    std::snprintf(line, sizeof line, "  %3zu  %14llu bytes  %s\n", i + 1, static_cast<unsigned long long>(s.volumes[i].size),
                  ControlsAsQuestionMarks(s.volumes[i].path).c_str());
    out += line;
  }
  out += "Side files:  " + std::to_string(s.sideFiles.size()) + "\n";
  for (const SetupSideFile& f : s.sideFiles) {
    std::snprintf(line, sizeof line, "  %-14s %12llu bytes\n", Utf8(f.name).c_str(), static_cast<unsigned long long>(f.size));
    out += line;
  }
  out += "Files:       " + std::to_string(s.files.size()) + "\n";
  if (!s.files.empty()) out += "     #          size  time                 destination\n";
  for (const SetupPayloadFile& f : s.files) {
    std::snprintf(line, sizeof line, "  %4u  %12llu  %-19s  ", f.number, static_cast<unsigned long long>(f.size),
                  f.time.c_str());
    out += line + Utf8(DestinationWithVariableNames(f.destination)) + "\n";
  }
  out += "Script:      " + std::to_string(s.script.size()) + " values\n";
  for (const ScriptSection& sec : s.sections) {
    // Section A counts fields, the others entries.
    const bool fields = sec.letter == 'A';
    std::snprintf(line, sizeof line, "  %c  %-42s %6zu %s\n", sec.letter, sec.title, fields ? sec.width : sec.entries,
                  fields ? "fields" : "entries");
    out += line;
  }
  out += std::string("Verdict:     ") + VerdictName(s.verdict) + "\n";
  return out;
}

std::string SetupReportJson(const SetupContents& s) {
  std::string out = "{\n";
  out += "  \"setup\": " + Json(s.path) + ",\n";
  out += std::string("  \"verdict\": ") + Json(VerdictName(s.verdict)) + ",\n";
  out += std::string("  \"signed\": ") + (s.signedFile ? "true" : "false") + ",\n";
  out += "  \"builder\": " + Json(AnsiToUtf8(s.Field(kFieldBuilder))) + ",\n";
  out += "  \"product\": " + Json(AnsiToUtf8(s.Field(kFieldProduct))) + ",\n";
  out += "  \"version\": " + Json(AnsiToUtf8(s.Field(kFieldVersion))) + ",\n";
  out += "  \"company\": " + Json(AnsiToUtf8(s.Field(kFieldCompany))) + ",\n";
  out += "  \"storage\": " + Json(StorageName(s)) + ",\n";
  out += "  \"compression\": " + Json(s.compression) + ",\n";
  out += "  \"volumes\": [";
  for (size_t i = 0; i < s.volumes.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"path\": " + Json(s.volumes[i].path) +
           ", \"size\": " + std::to_string(s.volumes[i].size) + "}";
  out += "],\n  \"side_files\": [";
  for (size_t i = 0; i < s.sideFiles.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"name\": " + Json(AnsiToUtf8(s.sideFiles[i].name)) +
           ", \"size\": " + std::to_string(s.sideFiles[i].size) + "}";
  out += "],\n  \"files\": [";
  for (size_t i = 0; i < s.files.size(); ++i) {
    const SetupPayloadFile& f = s.files[i];
    out += std::string(i ? "," : "") + "\n    {\"number\": " + std::to_string(f.number) +
           ", \"destination\": " + Json(AnsiToUtf8(DestinationWithVariableNames(f.destination))) + ", \"size\": " + std::to_string(f.size) +
           ", \"time\": " + Json(f.time) + ", \"mode\": " + Json(f.mode) +
           ", \"uninstall\": " + (f.uninstall ? "true" : "false") + "}";
  }
  out += std::string(s.files.empty() ? "" : "\n  ") + "],\n  \"script\": {\"values\": " + std::to_string(s.script.size()) +
         ", \"sections\": [";
  for (size_t i = 0; i < s.sections.size(); ++i) {
    const ScriptSection& sec = s.sections[i];
    out += std::string(i ? ", " : "") + "{\"section\": \"" + sec.letter + "\", \"title\": " + Json(sec.title) +
           ", \"entries\": " + std::to_string(sec.letter == 'A' ? sec.width : sec.entries) + "}";
  }
  out += "]},\n  \"problems\": [";
  for (size_t i = 0; i < s.problems.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"where\": " + Json(s.problems[i].where) + ", \"what\": " +
           Json(s.problems[i].what) + "}";
  out += "]\n}\n";
  return out;
}

}  // namespace bvq
