#pragma once
// Running the programs that judge our RTF from outside (LibreOffice, pandoc, unrtf) and
// reading what they print.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "util/code_page.h"
#include "util/files.h"

namespace bvq::rtf::test {

// The program's path when it is on PATH (an executable file), else "".
inline std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + name;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct CommandResult {
  int status = -1;
  std::string output;  // standard output and standard error
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
  result.status = pclose(pipe);
  return result;
}

// Converts all `files` to `format` into `outFolder` with one LibreOffice start, with a private
// profile below `profileFolder` (a start takes seconds: convert many files at once).
inline CommandResult ConvertWithLibreOffice(const std::string& soffice, const std::vector<std::string>& files,
                                            const std::string& format, const std::string& outFolder,
                                            const std::string& profileFolder, const std::string& inputFilter = "") {
  std::string command = "timeout 300 " + Quoted(soffice) + " --headless --norestore -env:UserInstallation=file://" +
                        profileFolder + " --convert-to " + Quoted(format) + " --outdir " + Quoted(outFolder);
  if (!inputFilter.empty()) command += " --infilter=" + Quoted(inputFilter);
  for (const std::string& file : files) command += " " + Quoted(file);
  return RunCommand(command);
}

// HTML without its tags: entities decoded (named ones for the characters our samples use,
// numeric ones including surrogate pairs as some converters write them), white space collapsed.
inline std::string HtmlText(std::string_view html) {
  static constexpr std::pair<std::string_view, char16_t> kNamed[] = {
      {"amp", u'&'},      {"lt", u'<'},       {"gt", u'>'},       {"quot", u'"'},      {"nbsp", u'\u00A0'},
      {"eacute", u'é'},   {"egrave", u'è'},   {"agrave", u'à'},   {"euro", u'€'},      {"alpha", u'α'},
      {"beta", u'β'},     {"gamma", u'γ'},    {"bull", u'•'},     {"ndash", u'–'},     {"mdash", u'—'}};
  std::u16string pending;  // numeric entities, joined so that surrogate pairs become one character
  std::string text;
  const auto flush = [&] {
    text += Utf16ToUtf8Lenient(pending);
    pending.clear();
  };
  bool blank = false;
  for (size_t i = 0; i < html.size();) {
    if (html[i] == '<') {
      const size_t end = html.find('>', i);
      i = end == std::string_view::npos ? html.size() : end + 1;
      continue;
    }
    if (html[i] == '&') {
      const size_t end = html.find(';', i);
      if (end != std::string_view::npos && end - i < 12) {
        const std::string_view name = html.substr(i + 1, end - i - 1);
        i = end + 1;
        if (name.starts_with("#")) {
          const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
          pending += static_cast<char16_t>(std::strtoul(std::string(name.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10));
        } else {
          for (const auto& [entity, c] : kNamed)
            if (entity == name) pending += c;
        }
        blank = false;
        continue;
      }
    }
    flush();
    const char c = html[i++];
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (!blank) text += ' ';
      blank = true;
    } else {
      text += c;
      blank = false;
    }
  }
  flush();
  // No-break spaces count as blanks, and blanks collapse.
  std::string collapsed;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool noBreak = text.compare(i, 2, "\xC2\xA0") == 0;
    if (text[i] == ' ' || noBreak) {
      if (collapsed.empty() || collapsed.back() != ' ') collapsed += ' ';
      i += noBreak ? 1 : 0;
    } else {
      collapsed += text[i];
    }
  }
  return collapsed;
}

// True when `word` (its first occurrence) stands inside an element that starts with `openTag`
// (such as "<b" or "<ol") and ends with `closeTag`: more of them opened than closed before it.
inline int OpenCountBefore(std::string_view html, std::string_view word, std::string_view openTag,
                           std::string_view closeTag) {
  const size_t at = html.find(word);
  if (at == std::string_view::npos) return -1;
  int open = 0;
  for (size_t p = html.find(openTag); p < at; p = html.find(openTag, p + 1)) {
    const char next = p + openTag.size() < html.size() ? html[p + openTag.size()] : '>';
    if (next == '>' || next == ' ') ++open;
  }
  for (size_t p = html.find(closeTag); p < at; p = html.find(closeTag, p + 1)) --open;
  return open;
}

inline bool IsInside(std::string_view html, std::string_view word, std::string_view tag) {
  return OpenCountBefore(html, word, "<" + std::string(tag), "</" + std::string(tag) + ">") > 0;
}

// The last block start tag ("<p ...>", "<div ...>", "<center>") before `word`, or "".
inline std::string BlockTagBefore(std::string_view html, std::string_view word) {
  const size_t at = html.find(word);
  if (at == std::string_view::npos) return "";
  size_t best = std::string_view::npos;
  for (std::string_view tag : {"<p>", "<p ", "<div", "<center", "<li"}) {
    const size_t p = html.rfind(tag, at);
    if (p != std::string_view::npos && (best == std::string_view::npos || p > best)) best = p;
  }
  if (best == std::string_view::npos) return "";
  return std::string(html.substr(best, html.find('>', best) - best + 1));
}

}  // namespace bvq::rtf::test
