#pragma once
// The interface language list (the language menu), the install language list and switching
// between interface languages.
#include <string>
#include <vector>

#include "util/strings.h"

namespace bvq {

// At most this many interface languages are offered in the menu (actions Lang0..Lang29).
constexpr int kLanguageMenuSize = 30;

// Names of the language files (".lng", any letter case) in `folder`, without the extension,
// sorted without regard to case, then by bytes.
TStrList ListLanguageNames(const std::string& folder);
// ProgramFolder/Language/Interface/ and ProgramFolder/Language/Install/.
TStrList ListInterfaceLanguages();
TStrList ListInstallLanguageNames();

// One action of the language menu.
struct LanguageMenuEntry {
  std::string action;   // "Lang0".."Lang29"
  bool visible = false; // false when there is no language n
  std::string name;     // language name
  std::string caption;  // LanguageCaption of its file
  std::string displayCaption;  // the same in UTF-8, decoded through its file's code page
  bool checked = false; // the current language
};
// The 30 menu actions for `languages` (file names under ProgramFolder) and `current`.
std::vector<LanguageMenuEntry> LanguageMenu(const TStrList& languages, const std::string& current);

// One item of the install-language list (Project::installLanguages).
struct InstallLanguageItem {
  std::string name;
  std::string caption;
  bool checked = false;  // initially: the name equals the current interface language
};
std::vector<InstallLanguageItem> ListInstallLanguages(const std::string& currentInterfaceLanguage);
// Their captions in list order: what Project::SetInstallLanguages takes at start-up.
std::vector<std::string> InstallLanguageCaptions(const std::string& currentInterfaceLanguage);
// An install-language caption ("Russian (...)", bytes as the project holds it) in UTF-8 for
// display: decoded through the code page of the install language file it names, or the
// program's code page when there is no such file.
std::string InstallLanguageDisplayCaption(const std::string& caption);

// Current and previous interface language with their files; the previous one is the "old"
// language that re-translation starts from.
struct LanguageState {
  std::string current = "English";
  std::string currentFile;
  std::string previous = "English";
  std::string previousFile;
};
// Index n of action "Lang<n>" (the name minus its first four characters); -1 when not one.
int LanguageMenuIndex(const std::string& actionName);
// The language switch of menu action n: previous := current, current := languages[n], with
// their files under ProgramFolder. False (state unchanged) when n is outside the list.
bool SwitchLanguageState(LanguageState& state, const TStrList& languages, int n);

}  // namespace bvq
