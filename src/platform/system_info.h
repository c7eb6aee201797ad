#pragma once
// What the system tells about the user, the machine and running programs.
#include <array>
#include <string>

#include "util/strings.h"

namespace bvq {

// "January" .. "December" at index 1..12 (index 0 empty); English in every language.
extern const std::array<const char*, 13> MonthNames;

// The account's name from the password database; "Unknown" when it cannot be read.
std::string UserName();
// No registered organisation exists here: "Unknown".
std::string OrganizationName();
// No default mail account exists here: "unknown".
std::string DefaultMailAddress();
// Last-modification date (local time) as "March 5, 2011"; "" when the file is missing.
std::string FileDateText(const std::string& path);
// Date text of a time given as seconds since 1970 (local time).
std::string DateText(long long unixSeconds);
// Never true here.
bool IsWindows9x();
// Appends the executable path of every process whose /proc/<pid>/exe can be read.
void RunningProcessPaths(TStrList& list);
// True when a running process's executable is `path` (absolute form compared in lower case).
bool IsProcessRunning(const std::string& path);
// True while process `pid` exists and has not ended (zombies count as ended).
bool IsProcessIdRunning(int pid);

}  // namespace bvq
