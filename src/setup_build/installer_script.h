#pragma once
// The installer script: every setting and entry of the project that the installer needs, as
// a sequence of zero-terminated single-byte values in a fixed order (sections A to O). Every
// value passes through SubstituteVariables before it is written.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup_build/language_side_files.h"
#include "setup_build/payload_list.h"
#include "project/project.h"

namespace bvq {

constexpr int kScriptFieldCount = 121;     // section A: fields 0..120
constexpr int kLanguageTextCount = 99;     // section O: texts per install language
constexpr uint64_t kFullCabinetPayload = 0x800000;

struct ScriptPayload {
  const PayloadList* files = nullptr;
  bool useCabinets = false;
  size_t cabinetCount = 0;       // payload cabinets written
  uint64_t lastCabinetSize = 0;  // file size of the last one
};

// The values of the script, in order, after variable substitution.
std::vector<std::string> InstallerScriptValues(const Project& project, const ScriptPayload& payload,
                                               const std::vector<BuildLanguage>& languages);
// The values, each followed by one 0x00 byte.
std::string EncodeInstallerScript(const std::vector<std::string>& values);

// "#setupsize#" (only when present) -> SizeText(size), "#netversion#" -> netText, "#appname#"
// -> product name, "#32" -> blank, "#10" -> LF, "#13" -> CR; each replaced everywhere.
std::string ExpandMessageText(const Project& project, std::string_view text, std::string_view netText, uint64_t size);

// The password transform of field 29: same length, characters "0".."Z".
std::string ScrambledPassword(std::string_view text);

// Field 48: round((k * 10240 + total source size) / 1024), halves to even, where k counts the
// entries of shortcuts, registryValues, installCommands, iniEntries and activeXFiles, the
// folder-only entries of files, and 17 more when an uninstaller is created.
uint64_t RequiredSpace(const Project& project, uint64_t totalSourceSize);

// Fields 87 and 119: the first two dot-separated numbers of the product version after every
// character other than a digit or "." is deleted (empty parts skipped; "0" when missing).
void ProductVersionNumbers(std::string_view version, std::string& major, std::string& minor);

// Field 61: the operating systems the installer refuses to run on, as a bit set.
uint32_t RefusedSystems(const Project& project);
// Field 62: "Windows " + the checked systems' short names joined by "/" + ".".
std::string SystemsText(const Project& project);

// Fields 10 and 18: the font height for a size in points on a 96 pixels-per-inch screen.
int FontHeight(int points);

}  // namespace bvq
