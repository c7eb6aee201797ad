#include "platform/system_info.h"

#include <dirent.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <fstream>

#include "util/files.h"
#include "util/paths.h"

namespace bvq {

const std::array<const char*, 13> MonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

std::string UserName() {
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_name &&
      result->pw_name[0])
    return result->pw_name;
  return "Unknown";
}

std::string OrganizationName() { return "Unknown"; }
std::string DefaultMailAddress() { return "unknown"; }

std::string DateText(long long unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return {};
  return std::string(MonthNames[tm.tm_mon + 1]) + " " + std::to_string(tm.tm_mday) + ", " +
         std::to_string(tm.tm_year + 1900);
}

std::string FileDateText(const std::string& path) {
  auto t = FileWriteTimeUnix(path);
  return t ? DateText(*t) : std::string();
}

bool IsWindows9x() { return false; }

void RunningProcessPaths(TStrList& list) {
  DIR* proc = opendir("/proc");
  if (!proc) return;
  while (dirent* e = readdir(proc)) {
    const char* name = e->d_name;
    if (name[0] < '0' || name[0] > '9') continue;
    char target[4096];
    std::string link = std::string("/proc/") + name + "/exe";
    ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) continue;  // another account's process or a kernel thread
    std::string path(target, static_cast<size_t>(n));
    static constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    list.push_back(path);
  }
  closedir(proc);
}

bool IsProcessRunning(const std::string& path) {
  std::string wanted = ToLowerAscii(AbsolutePath(NativePath(LongDisplayPath(path))));
  TStrList running;
  RunningProcessPaths(running);
  for (const std::string& p : running)
    if (ToLowerAscii(LongDisplayPath(p)) == wanted) return true;
  return false;
}

bool IsProcessIdRunning(int pid) {
  if (pid <= 0) return false;
  if (kill(pid, 0) != 0 && errno != EPERM) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string content;
  if (!std::getline(stat, content)) return false;
  size_t close = content.rfind(')');
  if (close == std::string::npos || close + 2 >= content.size()) return true;
  char state = content[close + 2];
  return state != 'Z' && state != 'X';
}

}  // namespace bvq
