#pragma once
// File and folder helpers. Paths are native (callers pass NativePath(...) for project paths).
// None of them throws for a missing file: they give 0, "" or false.
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// Gives `target` the last-write time of `source`, so that a work file made from it carries the
// same time into the setup wherever and whenever the build runs. False when either is missing.
bool CopyFileWriteTime(const std::string& source, const std::string& target);
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

// errno value that OpenRegularFile and ReadFileBytes leave for a path that names a device,
// FIFO or socket; FileErrorText says so in words.
constexpr int kNotRegularFileError = EBADFD;
// Opens a regular file for reading without ever blocking in open(): a FIFO, device or socket
// is refused (errno kNotRegularFileError), a folder too (EISDIR). -1 with errno on failure.
int OpenRegularFile(const std::string& path);
// The reason for errno `error` as words, kNotRegularFileError included.
std::string FileErrorText(int error);

// True when both paths exist and name the same file (same device and inode, links followed),
// however they are spelt.
bool SameFile(const std::string& a, const std::string& b);
// Why `path` must not be replaced by a newly written file: it exists and is not a regular file
// (links followed: a link to a device counts as the device), or it is one of `inputs`. Empty
// when writing it is fine.
std::string ReplaceRefusal(const std::string& path, const std::vector<std::string>& inputs);

// Whole regular file as bytes; nullopt with errno set when it cannot be read or is not a
// regular file.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Creates an empty file with a free hidden name beside `path` (".name.XXXXXX"), with the mode
// a newly created file gets, and returns its path; "" with errno set on failure. The caller
// renames it over `path` once it is complete.
std::string CreateFileBeside(const std::string& path);
// Writes the bytes to a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so readers see the old or the new content, never a half-written file. On failure
// the old file is untouched, the result says why and errno is left set.
Status WriteFileAtomic(const std::string& path, std::string_view bytes);
// Like WriteFileAtomic, but never replaces anything: fails (errno EEXIST) when `path` exists.
Status WriteNewFile(const std::string& path, std::string_view bytes);

}  // namespace bvq
