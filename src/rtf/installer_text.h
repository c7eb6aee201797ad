#pragma once
// The rich text the installer shows for a licence or information file.
#include <string>
#include <string_view>

namespace bvq::rtf {

// The content of a licence or information file as RTF for the installer's text pages: RTF that
// reads without problems is kept as it is (pictures, tables and all); damaged RTF is written
// anew from what could be read; any other file is plain text in `codePage` and becomes one
// paragraph per line. An empty file gives an empty RTF document.
std::string InstallerRichText(std::string_view fileBytes, int codePage);

}  // namespace bvq::rtf
