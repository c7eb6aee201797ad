#include "app/update_file.h"

#include <vector>

#include "util/strings.h"

namespace bvq::app {

std::optional<std::int64_t> VersionNumber(std::string_view version) {
  if (const std::size_t beta = version.find(" beta "); beta != std::string_view::npos) version = version.substr(0, beta);
  std::string digits;
  for (char c : version)
    if (c != '.') digits += c;
  // 18 digits always fit into 64 bits.
  if (digits.empty() || digits.size() > 18) return std::nullopt;
  std::int64_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::optional<UpdateFile> ParseUpdateFile(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() < 3) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  if (lines.size() < 3 || lines[2] != kProgramName) return std::nullopt;
  const std::optional<std::int64_t> version = VersionNumber(lines[0]);
  if (!version) return std::nullopt;
  return UpdateFile{*version, lines[1]};
}

}  // namespace bvq::app
