#include "util/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "util/paths.h"

namespace bvq {

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::string p = ExcludeTrailingSeparator(path);
  if (DirectoryExists(p)) return true;
  std::string parent = ExtractFilePath(p);
  if (!parent.empty() && parent != p && parent != "/" && !ForceDirectories(parent)) return false;
  if (mkdir(p.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return DirectoryExists(p);
}

int64_t FileSize64(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  return static_cast<int64_t>(st.st_size);
}

std::optional<int64_t> FileWriteTimeUnix(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<int64_t>(st.st_mtim.tv_sec);
}

bool CopyFileWriteTime(const std::string& source, const std::string& target) {
  struct stat st;
  if (stat(source.c_str(), &st) != 0) return false;
  const struct timespec times[2] = {st.st_mtim, st.st_mtim};
  return utimensat(AT_FDCWD, target.c_str(), times, 0) == 0;
}

uint64_t FileWriteTime(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  int64_t ticks = static_cast<int64_t>(st.st_mtim.tv_sec) * 10000000 + st.st_mtim.tv_nsec / 100;
  return static_cast<uint64_t>(static_cast<int64_t>(kUnixEpochAsFileTime) + ticks);
}

uint32_t FileAttributesWin(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  if (S_ISDIR(st.st_mode)) return 0x10;
  uint32_t attr = 0x20;
  if (!(st.st_mode & S_IWUSR)) attr |= 0x01;
  return attr;
}

// Names in a folder except "." and "..", sorted without regard to case, then by bytes.
static bool ReadFolderNames(const std::string& folder, std::vector<std::string>& names) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  while (dirent* e = readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names.emplace_back(e->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), LessNoCaseThenBytes);
  return true;
}

bool FolderHasEntries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (dirent* e = readdir(dir)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      any = true;
      break;
    }
  }
  closedir(dir);
  return any;
}

static void ListFolderFilesImpl(TStrList& list, const std::string& folder, bool topLevelOnly,
                                bool addEmptyFolders, std::set<std::pair<dev_t, ino_t>>& visited) {
  std::string base = IncludeTrailingSeparator(folder);
  struct stat self;
  if (stat(base.c_str(), &self) != 0) return;
  // A link back to a folder above would otherwise be searched for ever.
  if (!visited.insert({self.st_dev, self.st_ino}).second) return;
  std::vector<std::string> names;
  if (!ReadFolderNames(base, names)) return;
  for (const std::string& name : names) {
    std::string full = base + name;
    struct stat st;
    if (stat(full.c_str(), &st) != 0) continue;  // broken link
    if (!S_ISDIR(st.st_mode)) {
      list.push_back(full);
      continue;
    }
    if (addEmptyFolders && !FolderHasEntries(full)) list.push_back(full);
    if (!topLevelOnly) ListFolderFilesImpl(list, full, topLevelOnly, addEmptyFolders, visited);
  }
}

void ListFolderFiles(TStrList& list, const std::string& folder, bool topLevelOnly, bool addEmptyFolders) {
  std::set<std::pair<dev_t, ino_t>> visited;
  ListFolderFilesImpl(list, folder, topLevelOnly, addEmptyFolders, visited);
}

std::string FirstFileInFolder(const std::string& folder) {
  TStrList list;
  ListFolderFiles(list, folder, true, false);
  return list.empty() ? std::string() : list.front();
}

TStrList ListFileNames(const std::string& folder, std::string_view extension) {
  TStrList result;
  std::vector<std::string> names;
  std::string base = IncludeTrailingSeparator(folder);
  if (!ReadFolderNames(base, names)) return result;
  for (const std::string& name : names) {
    if (name.size() < extension.size() ||
        !EqualsNoCase(std::string_view(name).substr(name.size() - extension.size()), extension))
      continue;
    if (FileExists(base + name)) result.push_back(name);
  }
  return result;
}

std::string UniqueNumberedFileIn(const std::string& folder, std::string_view prefix, std::string_view extension) {
  std::string base = IncludeTrailingSeparator(folder) + NativePath(prefix);
  for (unsigned long n = 1;; ++n) {
    char number[32];
    std::snprintf(number, sizeof number, "%03lu", n);
    std::string candidate = base + number + "." + std::string(extension);
    struct stat st;
    if (lstat(candidate.c_str(), &st) != 0) {
      ForceDirectories(ExtractFilePath(candidate));
      return candidate;
    }
  }
}

int OpenRegularFile(const std::string& path) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer and a device may wait for its
  // hardware; with it, open returns at once and the type check below refuses them.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  const bool examined = fstat(fd, &st) == 0;
  if (!examined || !S_ISREG(st.st_mode)) {
    const int error = !examined ? errno : S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFileError;
    ::close(fd);
    errno = error;
    return -1;
  }
  // A regular file ignores O_NONBLOCK; clear it anyway so that reads behave as plain reads.
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return !a.empty() && !b.empty() && stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string ReplaceRefusal(const std::string& path, const std::vector<std::string>& inputs) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    // A dangling link would be replaced by a file; anything else that does not exist is fine.
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0) return "the output path is a link to nothing: " + path;
    return {};
  }
  if (S_ISDIR(st.st_mode)) return "the output path is a folder: " + path;
  if (!S_ISREG(st.st_mode)) return "the output path is not a regular file (a device, FIFO or socket): " + path;
  for (const std::string& input : inputs)
    if (SameFile(path, input)) return "the output path is the input file: " + path;
  return {};
}

std::string FileErrorText(int error) {
  if (error == kNotRegularFileError) return "not a regular file (a device, FIFO or socket)";
  return std::strerror(error);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::string bytes;
  if (fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

// The process's file-creation mask, read without changing it.
static mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

std::string CreateFileBeside(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  std::string name = (folder.empty() ? std::string("./") : folder) + "." + ExtractFileName(path) + ".XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  const int error = fchmod(fd, 0666 & ~CurrentUmask()) == 0 ? 0 : errno;
  close(fd);
  if (error != 0) {
    unlink(name.c_str());
    errno = error;
    return {};
  }
  return name;
}

namespace {

// Writes the bytes to a temporary file beside `path` and renames it to `path`; with
// `replace` false the rename fails (EEXIST) when `path` exists.
Status WriteThroughTemporary(const std::string& path, std::string_view bytes, bool replace) {
  auto fail = [&](const std::string& what) {
    const int error = errno;
    Status failure = Status::Fail(what + ": " + path + ": " + std::strerror(error));
    errno = error;
    return failure;
  };
  std::string folder = ExtractFilePath(path);
  std::string tmpl = (folder.empty() ? std::string("./") : folder) + "." + ExtractFileName(path) + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return fail("cannot create a temporary file beside");
  std::string tmp(name.data());
  struct stat old;
  mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  const char* p = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (ok) ok = fchmod(fd, mode) == 0 && fsync(fd) == 0;
  int savedErrno = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && (replace ? rename(tmp.c_str(), path.c_str())
                     : renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE)) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    unlink(tmp.c_str());
    errno = savedErrno;
    return fail("cannot write");
  }
  int dfd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return Status::Ok();
}

}  // namespace

Status WriteFileAtomic(const std::string& path, std::string_view bytes) {
  return WriteThroughTemporary(path, bytes, true);
}

Status WriteNewFile(const std::string& path, std::string_view bytes) {
  return WriteThroughTemporary(path, bytes, false);
}

}  // namespace bvq
