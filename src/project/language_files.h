#pragma once
// Reading interface and install language files: INI files whose values are bytes in the
// language's code page. Interface files hold the "Language" section ("Name", "CodePage"), the
// numbered "Strings" 0..255 and one section per window; install files hold "Language"
// ("Name", "Id") and the installer's texts.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "project/interface_strings.h"
#include "util/ini_file.h"

namespace bvq {

// The "Strings" section as written (no unescaping; missing keys empty); nullopt when the file
// cannot be read.
std::optional<InterfaceStringTable> ReadRawLanguageStrings(const std::string& path);
InterfaceStringTable ReadRawLanguageStrings(const IniFile& file);
// Every entry unescaped (UnescapeLanguageText).
InterfaceStringTable UnescapeStrings(const InterfaceStringTable& raw);
// The unescaped string table of the file; nullopt when it cannot be read.
std::optional<InterfaceStringTable> LoadInterfaceStrings(const std::string& path);

// Reads interface language `name` from ProgramFolder and makes its strings the program's
// table (SetInterfaceStrings) and its code page the program's ANSI code page when the file
// declares one. False (nothing changed) when the file cannot be read.
bool LoadInterfaceLanguage(const std::string& name);

// "Language"/"Name" as written; nullopt when absent.
std::optional<std::string> LanguageOwnName(const IniFile& file);
// "Language"/"CodePage"; nullopt when absent or not a number.
std::optional<int> LanguageCodePage(const IniFile& file);

// Caption of a language in menus and lists: the name; for names other than "English" the
// name, " (", the file's own name (the name itself when the file has none) and ")".
std::string LanguageCaption(const std::string& name, const std::optional<std::string>& ownName);
// The same, reading the own name from `path`.
std::string LanguageCaptionOfFile(const std::string& name, const std::string& path);
// The same as UTF-8 for display: the own name is decoded through the code page its file
// declares (the program's code page when it declares none), whatever the interface language.
std::string LanguageCaptionOfFileUtf8(const std::string& name, const std::string& path);

// The texts of a window section: component name and unescaped text, in file order, only
// non-empty texts.
std::vector<std::pair<std::string, std::string>> ReadWindowTexts(const IniFile& file, const std::string& window);

// The window sections an interface language file has, named after the windows' components.
const std::vector<std::string>& LanguageWindowNames();

}  // namespace bvq
