#include "util/paths.h"

#include <unistd.h>

#include <filesystem>

#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {

std::string NativePath(std::string_view path) {
  std::string s(path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

std::string IncludeTrailingSeparator(std::string_view path) {
  std::string s(path);
  if (!s.empty() && IsPathSeparator(s.back())) return s;
  bool backslashOnly = s.find('\\') != std::string::npos && s.find('/') == std::string::npos;
  s += backslashOnly ? '\\' : '/';
  return s;
}

std::string ExcludeTrailingSeparator(std::string_view path) {
  std::string s(path);
  while (s.size() > 1 && IsPathSeparator(s.back())) s.pop_back();
  return s;
}

static size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::string ExtractFileName(std::string_view path) {
  size_t pos = LastSeparator(path);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFilePath(std::string_view path) {
  size_t pos = LastSeparator(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string AbsolutePath(std::string_view path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(std::string(path)), ec);
  if (ec) return std::string(path);
  return p.lexically_normal().string();
}

std::string ExpandCurrentPath(std::string_view path) {
  static constexpr std::string_view kToken = "%CURRENT_PATH%";
  size_t pos = ToUpperAscii(path).find(kToken);
  if (pos == std::string::npos) return std::string(path);
  std::string written(path.substr(pos, kToken.size()));
  std::string folder = ProgramFolder();
  if (folder.size() > 1 && IsPathSeparator(folder.back())) folder.pop_back();
  return ReplaceAll(std::string(path), written, folder);
}

std::string MakeInstallPath(std::string_view path) {
  std::string rest(path);
  if (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
  if (rest.empty() || rest.front() == '%' || (rest.size() >= 2 && rest[1] == ':')) return rest;
  std::string upper = ToUpperAscii(rest);
  if (upper.rfind("HTTP://", 0) == 0 || upper.rfind("MAILTO", 0) == 0) return rest;
  return "%InstallPath%\\" + rest;
}

static bool SamePathChar(char a, char b) {
  if (IsPathSeparator(a) && IsPathSeparator(b)) return true;
  return EqualsNoCase(std::string_view(&a, 1), std::string_view(&b, 1));
}

std::string RebasePath(std::string_view folder, std::string_view path, std::string_view newPrefix) {
  std::string base = IncludeTrailingSeparator(folder);
  std::string prefix = newPrefix.empty() ? std::string() : IncludeTrailingSeparator(newPrefix);
  if (path.size() < base.size()) return std::string(path);
  for (size_t i = 0; i < base.size(); ++i)
    if (!SamePathChar(base[i], path[i])) return std::string(path);
  return prefix + std::string(path.substr(base.size()));
}

std::string RemoveWildcards(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (c != '"' && c != '*' && c != '?') s += c;
  return s;
}

bool IsValidFileName(std::string_view text) {
  return text.find_first_of("/\\:*?\"<>|") == std::string_view::npos;
}

bool IsValidPathText(std::string_view text) {
  return text.find_first_of("*?\"<>|") == std::string_view::npos;
}

std::string ShortPathName(std::string_view path) { return std::string(path); }
std::string LongDisplayPath(std::string_view path) { return std::string(path); }

std::string InterfaceLanguageFile(std::string_view name) {
  return ProgramFolder() + "Language/Interface/" + std::string(name) + ".lng";
}

std::string InstallLanguageFile(std::string_view name) {
  return ProgramFolder() + "Language/Install/" + std::string(name) + ".lng";
}

}  // namespace bvq
