#pragma once
// The interface string table: entry N (0..255) of the "Strings" section of the active
// interface language file. Messages, log lines, column headings and the choice words
// stored in list cells are interface strings.
#include <array>
#include <string>

namespace bvq {

constexpr int kInterfaceStringCount = 256;
using InterfaceStringTable = std::array<std::string, kInterfaceStringCount>;

// Interface string `index`; an index outside 0..255 gives an empty string.
const std::string& InterfaceString(int index);

// Replaces the whole table (when a language is applied).
void SetInterfaceStrings(const InterfaceStringTable& table);
const InterfaceStringTable& InterfaceStrings();

}  // namespace bvq
