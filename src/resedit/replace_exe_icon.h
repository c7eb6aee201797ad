#pragma once
// The build's entry point for giving a copied stub the project's icon.
#include <cstdint>
#include <string>

namespace bvq {

// Replaces the icon group `groupName` (ANSI text in the program's code page; the build passes
// "MAINICON") in `language` of the executable by the images of the .ico file, and writes the
// rebuilt resources back. Paths are native file names. When the executable cannot be opened
// as a PE file with resources it is left untouched. The build ignores the result; it is true
// when the new group was stored and written.
bool ReplaceExeIcon(const std::string& exeFileName, const std::string& icoFileName, const std::string& groupName,
                    uint16_t language);

}  // namespace bvq
