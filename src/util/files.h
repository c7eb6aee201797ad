#pragma once
// File and folder helpers. Paths are native (callers pass NativePath(...) for project paths).
// None of them throws for a missing file: they give 0, "" or false.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/outcome.h"
#include "util/strings.h"

namespace bvq {

bool FileExists(const std::string& path);       // a regular file (links followed)
bool DirectoryExists(const std::string& path);  // a folder (links followed)
// Creates the folder with all missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// Size of the file; 0 when it does not exist or is a folder.
int64_t FileSize64(const std::string& path);
// Last-write time as a Windows file time (100 ns units since 1601-01-01 UTC); 0 when missing.
uint64_t FileWriteTime(const std::string& path);
// Last-write time as seconds since 1970 (UTC); nullopt when missing.
std::optional<int64_t> FileWriteTimeUnix(const std::string& path);
// Windows file attributes for a file: archive (0x20), plus read-only (0x01) when the file is
// not writable by its owner; 0 when missing.
uint32_t FileAttributesWin(const std::string& path);
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

// True when the folder holds anything besides "." and "..".
bool FolderHasEntries(const std::string& folder);

// Appends folder + name for every file; for a sub-folder: appended (without trailing
// separator) when `addEmptyFolders` and it is empty; searched recursively unless `topLevelOnly`.
// Entries of one folder are taken sorted without regard to case, then by bytes.
void ListFolderFiles(TStrList& list, const std::string& folder, bool topLevelOnly, bool addEmptyFolders);
// First entry ListFolderFiles (top level only, no empty folders) finds, or "".
std::string FirstFileInFolder(const std::string& folder);

// Names (not paths) of the regular files in `folder` whose name ends with `extension`
// (compared without regard to case), sorted without regard to case then by bytes.
TStrList ListFileNames(const std::string& folder, std::string_view extension);

// First free path folder + prefix + n (n = 1, 2, ... with at least three digits) + "." +
// extension; creates the candidate's folder with all missing parents. `prefix` may hold
// sub-folders written with "\" or "/".
std::string UniqueNumberedFileIn(const std::string& folder, std::string_view prefix, std::string_view extension);

// Whole file as bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Writes the bytes to a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so readers see the old or the new content, never a half-written file. On failure
// the old file is untouched, the result says why and errno is left set.
Status WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace bvq
