#pragma once
// The update file the maker publishes: line 1 the latest version ("5.04"), line 2 the address
// of the download page, line 3 exactly the product name; further lines are ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bvq::app {

// The update file is a few short lines: a reply larger than this is not one and is not read
// to its end.
inline constexpr std::int64_t kUpdateFileMaxBytes = 64 * 1024;

struct UpdateFile {
  std::int64_t version = 0;  // VersionNumber of line 1
  std::string downloadPage;  // line 2
};

// A version with every "." removed, read as a decimal number ("5.04" -> 504, "5.10" -> 510);
// a beta suffix (" beta " and the build number) is left out first. nullopt when what is left
// is not a plain decimal number.
std::optional<std::int64_t> VersionNumber(std::string_view version);

// The file's content (lines end in LF or CR LF); nullopt for fewer than three lines, a third
// line other than the product name (letter case counts) or a first line that is no number.
std::optional<UpdateFile> ParseUpdateFile(std::string_view text);

}  // namespace bvq::app
