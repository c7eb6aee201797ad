#pragma once
// Path helpers. Project paths are texts as the author typed them: they may use "\" (Windows
// style, the installer's side) or "/". Routines that open files on this system go through
// NativePath, which reads "\" as "/".
#include <string>
#include <string_view>

namespace bvq {

// The path with every "\" read as "/" (for opening files on this system).
std::string NativePath(std::string_view path);

bool IsPathSeparator(char c);  // "/" or "\"
// Adds "/" (or "\" when the path already uses only "\") when the path does not end with one.
std::string IncludeTrailingSeparator(std::string_view path);
std::string ExcludeTrailingSeparator(std::string_view path);
// File name after the last separator; the folder up to and including the last separator.
std::string ExtractFileName(std::string_view path);
std::string ExtractFilePath(std::string_view path);
// Extension including the dot (".lng"), or "" when the file name has none.
std::string ExtractFileExt(std::string_view path);
// Absolute form of a native path (relative to the current folder), lexically normalised.
std::string AbsolutePath(std::string_view path);

// Replaces "%CURRENT_PATH%" (found without regard to letter case; every occurrence written
// like the first one) by ProgramFolder without its trailing separator.
std::string ExpandCurrentPath(std::string_view path);

// Destination paths on the target machine: removes one leading "\"; a non-empty rest that
// does not start with "%", has no ":" as its second character and does not start with
// "HTTP://" or "MAILTO" (upper-cased) becomes "%InstallPath%\" + rest.
std::string MakeInstallPath(std::string_view path);

// When `path` starts with `folder` (letter case and "\" vs "/" ignored), that start is
// replaced by `newPrefix` (with a trailing separator when not empty); with an empty prefix the
// result is relative. Otherwise the path is returned unchanged.
std::string RebasePath(std::string_view folder, std::string_view path, std::string_view newPrefix);

// Removes every double quote, asterisk and question mark.
std::string RemoveWildcards(std::string_view text);
// False when the text contains any of / \ : * ? " < > |
bool IsValidFileName(std::string_view text);
// False when the text contains any of * ? " < > |
bool IsValidPathText(std::string_view text);

// Short (8.3) forms do not exist here: the path as given.
std::string ShortPathName(std::string_view path);
// Long forms are what paths are here: the path as given.
std::string LongDisplayPath(std::string_view path);

// ProgramFolder + "Language/Interface/" (or "Language/Install/") + name + ".lng".
std::string InterfaceLanguageFile(std::string_view name);
std::string InstallLanguageFile(std::string_view name);

}  // namespace bvq
