#pragma once
// Path pieces of cabinet names: templates with "*", folders created on demand.
#include <string>

namespace bvq::cab {

// Every "*" of `text` replaced by the decimal `number`.
std::string ReplaceStars(const std::string& text, long number);
// `path` with "\" read as "/" and made absolute against the current directory.
std::string AbsolutePath(const std::string& path);
// Folder part of `path` with its trailing "/", and the name part.
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);
// `folder` with "\" read as "/" and exactly one trailing "/".
std::string WithTrailingSlash(const std::string& folder);
// Creates `folder` with all missing parents; false with errno on failure.
bool CreateFolders(const std::string& folder);

}  // namespace bvq::cab
