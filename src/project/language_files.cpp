#include "project/language_files.h"

#include "util/code_page.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

InterfaceStringTable ReadRawLanguageStrings(const IniFile& file) {
  InterfaceStringTable table;
  for (int n = 0; n < kInterfaceStringCount; ++n) table[n] = file.Get("Strings", std::to_string(n));
  return table;
}

std::optional<InterfaceStringTable> ReadRawLanguageStrings(const std::string& path) {
  auto file = IniFile::Load(path);
  if (!file) return std::nullopt;
  return ReadRawLanguageStrings(*file);
}

InterfaceStringTable UnescapeStrings(const InterfaceStringTable& raw) {
  InterfaceStringTable table;
  for (int n = 0; n < kInterfaceStringCount; ++n) table[n] = UnescapeLanguageText(raw[n]);
  return table;
}

std::optional<InterfaceStringTable> LoadInterfaceStrings(const std::string& path) {
  auto raw = ReadRawLanguageStrings(path);
  if (!raw) return std::nullopt;
  return UnescapeStrings(*raw);
}

bool LoadInterfaceLanguage(const std::string& name) {
  auto file = IniFile::Load(InterfaceLanguageFile(name));
  if (!file) return false;
  SetInterfaceStrings(UnescapeStrings(ReadRawLanguageStrings(*file)));
  if (auto cp = LanguageCodePage(*file); cp && IsKnownCodePage(*cp)) SetAnsiCodePage(*cp);
  return true;
}

std::optional<std::string> LanguageOwnName(const IniFile& file) { return file.Find("Language", "Name"); }

std::optional<int> LanguageCodePage(const IniFile& file) {
  auto text = file.Find("Language", "CodePage");
  if (!text) return std::nullopt;
  int64_t cp = ParseInt(*text, -1);
  if (cp <= 0 || cp > 65535) return std::nullopt;
  return static_cast<int>(cp);
}

std::string LanguageCaption(const std::string& name, const std::optional<std::string>& ownName) {
  if (name == "English") return name;
  return name + " (" + ownName.value_or(name) + ")";
}

std::string LanguageCaptionOfFile(const std::string& name, const std::string& path) {
  std::optional<std::string> own;
  if (auto file = IniFile::Load(path)) own = LanguageOwnName(*file);
  return LanguageCaption(name, own);
}

std::string LanguageCaptionOfFileUtf8(const std::string& name, const std::string& path) {
  std::optional<std::string> own;
  int codePage = AnsiCodePage();
  if (auto file = IniFile::Load(path)) {
    if (own = LanguageOwnName(*file); own)
      if (auto cp = LanguageCodePage(*file); cp && IsKnownCodePage(*cp)) codePage = *cp;
  }
  return AnsiToUtf8(LanguageCaption(name, own), codePage);
}

std::vector<std::pair<std::string, std::string>> ReadWindowTexts(const IniFile& file, const std::string& window) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const std::string& key : file.Keys(window)) {
    std::string text = UnescapeLanguageText(file.Get(window, key));
    if (!text.empty()) texts.emplace_back(key, std::move(text));
  }
  return texts;
}

const std::vector<std::string>& LanguageWindowNames() {
  static const std::vector<std::string> names = {
      "MainForm",   "CompileForm",   "AboutForm",     "InfoForm",   "SettingsForm",
      "UpdateForm", "EditorForm",    "SelectFileForm", "AddFileForm", "AddFilesListForm",
      "AddLinkForm", "AddRegForm",   "AddRegFileForm", "AddDelRegForm", "AddIniForm",
      "AddCmdForm", "AddVarForm",    "AddFontForm",   "AddExpForm", "AddDelObjForm"};
  return names;
}

}  // namespace bvq
