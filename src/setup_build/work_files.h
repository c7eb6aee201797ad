#pragma once
// Work files of a build in the working folder: the converted licence and information texts,
// the data cabinet, the prepared uninstaller and the payload cabinets Pack/0000.tmp ...
#include <string>

namespace bvq {

// Numbers of the named work files.
enum WorkFile : int {
  kWorkInfo = -1,       // "Info.tmp": not written, removed by the clean-up
  kWorkLicense = -2,    // "License.tmp": licence text as rich text
  kWorkReadme = -3,     // "Readme.tmp": information text as rich text
  kWorkData = -4,       // "Data.tmp": the data block cabinet
  kWorkUninstall = -5,  // "Uninst.tmp": the prepared uninstaller
  kWorkComp = -6,       // "Comp.tmp": not written, removed by the clean-up
  kWorkPart = -7,       // "Part.tmp": not written, removed by the clean-up
};

// Path of work file n in `workFolder` (a folder path ending in "/"): the names above for
// -1..-7, "Pack/" + n padded to four digits + ".tmp" for n >= 0. Creates the folder of the
// result, with all missing parents, on every call.
std::string WorkFilePath(const std::string& workFolder, int n);

// Deletes the named work files and everything below "Pack/" with the folder itself. Links are
// removed, never followed: a "Pack" link to another folder leaves that folder's files alone.
// Missing files are no error.
void RemoveWorkFiles(const std::string& workFolder);

// Creates a folder of one build's own inside `workFolder` ("build-XXXXXX", mode 0700) and
// returns it with a trailing "/". Raises FileError when it cannot be created.
std::string MakePrivateWorkFolder(const std::string& workFolder);

// Removes a folder made by MakePrivateWorkFolder with everything in it. Links inside are
// removed, never followed. An empty path or a missing folder is no error.
void RemovePrivateWorkFolder(const std::string& folder);

}  // namespace bvq
