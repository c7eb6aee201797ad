#pragma once
// Font files.
#include <string>

namespace bvq {

// The full name that the font file declares for its first face (the "full name" entry of its
// name table, English preferred; family and style for fonts without one), in the program's
// ANSI code page and at most 63 bytes long. "" when the file is not a font FreeType reads.
std::string FontNameFromFile(const std::string& path);

}  // namespace bvq
