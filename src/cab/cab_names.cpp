#include "cab/cab_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace bvq::cab {

std::string ReplaceStars(const std::string& text, long number) {
  std::string out;
  const std::string digits = std::to_string(number);
  for (char c : text) {
    if (c == '*') {
      out += digits;
    } else {
      out += c;
    }
  }
  return out;
}

static std::string Slashes(std::string s) {
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

std::string AbsolutePath(const std::string& path) {
  std::string p = Slashes(path);
  if (!p.empty() && p[0] == '/') return p;
  char buf[PATH_MAX];
  std::string cwd = getcwd(buf, sizeof buf) ? buf : ".";
  return WithTrailingSlash(cwd) + p;
}

std::string FolderPart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingSlash(const std::string& folder) {
  std::string f = Slashes(folder);
  while (f.size() > 1 && f.back() == '/' && f[f.size() - 2] == '/') f.pop_back();
  if (f.empty() || f.back() != '/') f += '/';
  return f;
}

bool CreateFolders(const std::string& folder) {
  std::string f = Slashes(folder);
  if (f.empty()) return true;
  for (size_t i = 1; i <= f.size(); ++i) {
    if (i != f.size() && f[i] != '/') continue;
    std::string part = f.substr(0, i);
    if (part.empty() || part == "/") continue;
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (stat(part.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
      errno = ENOTDIR;
      return false;
    }
  }
  return true;
}

}  // namespace bvq::cab
