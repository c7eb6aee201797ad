#include "platform/program_settings.h"

#include "platform/work_folder.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {

static constexpr const char* kMain = SettingsStore::kMainSection;

ProgramSettings ReadProgramSettings(const SettingsStore& store) {
  ProgramSettings s;
  s.language = store.GetString(kMain, "Language").value_or("");
  s.tempDir = store.GetString(kMain, "TempDir").value_or("");
  s.openLastProject = store.GetBool(kMain, "OpenLastProject").value_or(false);
  s.signCommand = store.GetString(kMain, "SignCommand").value_or("");
  s.isMaximized = store.GetBool(kMain, "IsMaximized").value_or(false);
  auto w = store.GetInt(kMain, "Width"), h = store.GetInt(kMain, "Height");
  auto l = store.GetInt(kMain, "Left"), t = store.GetInt(kMain, "Top");
  if (w && h && l && t) s.bounds = WindowBounds{int(*w), int(*h), int(*l), int(*t)};
  for (const std::string& name : store.Names(kMain)) {
    // "LV<i>_<j>"
    if (name.size() < 5 || !StartsWithNoCase(name, "LV")) continue;
    size_t us = name.find('_');
    if (us == std::string::npos) continue;
    int64_t i = ParseInt(name.substr(2, us - 2), -1), j = ParseInt(name.substr(us + 1), -1);
    auto width = store.GetInt(kMain, name);
    if (i >= 1 && i <= 11 && j >= 0 && width) s.columnWidths[{int(i), int(j)}] = int(*width);
  }
  return s;
}

void WriteClosingSettings(SettingsStore& store, const ProgramSettings& s) {
  store.SetString(kMain, "Language", s.language);
  for (const auto& [key, width] : s.columnWidths)
    store.SetInt(kMain, "LV" + std::to_string(key.first) + "_" + std::to_string(key.second), width);
  store.SetBool(kMain, "IsMaximized", s.isMaximized);
  if (!s.isMaximized && s.bounds) {
    store.SetInt(kMain, "Width", s.bounds->width);
    store.SetInt(kMain, "Height", s.bounds->height);
    store.SetInt(kMain, "Left", s.bounds->left);
    store.SetInt(kMain, "Top", s.bounds->top);
  }
}

std::string ResolveInterfaceLanguage(const std::string& stored) {
  std::string name = NameBeforeParenthesis(stored);
  if (name.empty() || !FileExists(InterfaceLanguageFile(name))) return "English";
  return name;
}

Status StartProgram(SettingsStore& store, ProgramSettings& settings) {
  settings = ReadProgramSettings(store);
  settings.language = ResolveInterfaceLanguage(settings.language);
  if (settings.tempDir.empty()) {
    settings.tempDir = DefaultWorkFolder();
    store.SetString(kMain, "TempDir", settings.tempDir);
    store.Save();  // a read-only configuration folder must not stop the program
  }
  Outcome<std::string> folder = PrepareWorkFolder(ShortPathName(settings.tempDir));
  if (!folder) return folder.status();
  SetWorkFolder(*folder);
  SetSignCommand(settings.signCommand);
  return Status::Ok();
}

}  // namespace bvq
