#include "project/language_lists.h"

#include <algorithm>

#include "project/language_files.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/ini_file.h"
#include "util/paths.h"
#include "util/program_values.h"

namespace bvq {

TStrList ListLanguageNames(const std::string& folder) {
  TStrList names = ListFileNames(folder, ".lng");
  for (std::string& n : names) n.resize(n.size() - 4);
  std::sort(names.begin(), names.end(), LessNoCaseThenBytes);
  return names;
}

TStrList ListInterfaceLanguages() { return ListLanguageNames(ProgramFolder() + "Language/Interface/"); }
TStrList ListInstallLanguageNames() { return ListLanguageNames(ProgramFolder() + "Language/Install/"); }

std::vector<LanguageMenuEntry> LanguageMenu(const TStrList& languages, const std::string& current) {
  std::vector<LanguageMenuEntry> menu(kLanguageMenuSize);
  for (int n = 0; n < kLanguageMenuSize; ++n) {
    LanguageMenuEntry& e = menu[n];
    e.action = "Lang" + std::to_string(n);
    if (n >= static_cast<int>(languages.size())) continue;
    e.visible = true;
    e.name = languages[n];
    e.caption = LanguageCaptionOfFile(e.name, InterfaceLanguageFile(e.name));
    e.displayCaption = LanguageCaptionOfFileUtf8(e.name, InterfaceLanguageFile(e.name));
    e.checked = e.name == current;
  }
  return menu;
}

std::vector<std::string> InstallLanguageCaptions(const std::string& currentInterfaceLanguage) {
  std::vector<std::string> captions;
  for (const InstallLanguageItem& item : ListInstallLanguages(currentInterfaceLanguage)) captions.push_back(item.caption);
  return captions;
}

std::string InstallLanguageDisplayCaption(const std::string& caption) {
  const std::string name = caption.substr(0, caption.find(" ("));
  int codePage = AnsiCodePage();
  if (auto file = IniFile::Load(InstallLanguageFile(name)))
    if (auto cp = LanguageCodePage(*file); cp && IsKnownCodePage(*cp)) codePage = *cp;
  return AnsiToUtf8(caption, codePage);
}

std::vector<InstallLanguageItem> ListInstallLanguages(const std::string& currentInterfaceLanguage) {
  std::vector<InstallLanguageItem> items;
  for (const std::string& name : ListInstallLanguageNames()) {
    items.push_back({name, LanguageCaptionOfFile(name, InstallLanguageFile(name)), name == currentInterfaceLanguage});
  }
  return items;
}

int LanguageMenuIndex(const std::string& actionName) {
  if (actionName.size() <= 4 || actionName.compare(0, 4, "Lang") != 0) return -1;
  int64_t n = ParseInt(actionName.substr(4), -1);
  return (n >= 0 && n < kLanguageMenuSize) ? static_cast<int>(n) : -1;
}

bool SwitchLanguageState(LanguageState& state, const TStrList& languages, int n) {
  if (n < 0 || n >= static_cast<int>(languages.size())) return false;
  state.previous = state.current;
  state.previousFile = state.currentFile.empty() ? InterfaceLanguageFile(state.current) : state.currentFile;
  state.current = languages[n];
  state.currentFile = InterfaceLanguageFile(state.current);
  return true;
}

}  // namespace bvq
