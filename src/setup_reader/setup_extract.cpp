#include "setup_reader/setup_extract.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/code_page.h"
#include "util/strings.h"

namespace bvq {
namespace {

// Names Windows reserves for devices, with or without an extension.
bool IsDeviceName(const std::string& component) {
  std::string base = ToUpperAscii(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : kDevices)
    if (base == d) return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '0' &&
         base[3] <= '9';
}

// A folder below `parent` (a descriptor), created when missing; -1 when it is not a real folder.
int OpenFolderAt(int parent, const std::string& name, std::string& why) {
  if (mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) {
    why = std::strerror(errno);
    return -1;
  }
  const int fd = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) why = errno == ELOOP || errno == ENOTDIR ? "is a link or not a folder" : std::strerror(errno);
  return fd;
}

}  // namespace

std::string ExtractionPath(const std::string& destination, std::string& why) {
  const std::string named = AnsiToUtf8(DestinationWithVariableNames(destination));
  if (named.empty()) return why = "the destination is empty", "";
  if (named[0] == '\\' || named[0] == '/') return why = "the destination is an absolute path", "";
  if (named.size() >= 2 && named[1] == ':') return why = "the destination names a drive", "";
  std::string path;
  size_t start = 0;
  while (start <= named.size()) {
    size_t end = named.find_first_of("\\/", start);
    if (end == std::string::npos) end = named.size();
    std::string part = named.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    // A variable's name, without its percent signs, is the folder.
    if (part.size() > 2 && part.front() == '%' && part.back() == '%') part = part.substr(1, part.size() - 2);
    if (part.find_first_not_of('.') == std::string::npos) return why = "the destination contains \"" + part + "\"", "";
    if (part.find(':') != std::string::npos) return why = "the destination contains \":\"", "";
    for (unsigned char c : part)
      if (c < 0x20) return why = "the destination contains a control character", "";
    if (IsDeviceName(part)) return why = "the destination names the device " + part, "";
    path += (path.empty() ? "" : "/") + part;
  }
  if (path.empty()) return why = "the destination names no file", "";
  return path;
}

ExtractResult ExtractSetup(SetupReader& reader, const std::string& folder, bool force) {
  ExtractResult result;
  const SetupContents& setup = reader.Contents();
  mkdir(folder.c_str(), 0777);
  const int root = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root < 0) {
    result.refusals.push_back(folder + ": cannot be opened as a folder: " + std::strerror(errno));
    return result;
  }
  for (size_t i = 0; i < setup.files.size(); ++i) {
    const SetupPayloadFile& f = setup.files[i];
    const std::string label = "payload file " + std::to_string(f.number) + " (" +
                              AnsiToUtf8(DestinationWithVariableNames(f.destination)) + ")";
    std::string why;
    const std::string relative = ExtractionPath(f.destination, why);
    if (relative.empty()) {
      result.refusals.push_back(label + ": refused: " + why);
      continue;
    }
    // Walk down the folders without following links.
    int dir = dup(root);
    size_t start = 0;
    for (size_t slash; dir >= 0 && (slash = relative.find('/', start)) != std::string::npos; start = slash + 1) {
      const int next = OpenFolderAt(dir, relative.substr(start, slash - start), why);
      close(dir);
      dir = next;
    }
    if (dir < 0) {
      result.refusals.push_back(label + ": folder " + folder + "/" + relative.substr(0, start) + " " + why);
      continue;
    }
    const std::string name = relative.substr(start);
    struct stat existing {};
    if (!force && fstatat(dir, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
      result.refusals.push_back(label + ": " + folder + "/" + relative + " exists (use --force to replace it)");
      close(dir);
      continue;
    }
    // Written under a temporary name, renamed into place once complete.
    const std::string temp = "." + name + ".part" + std::to_string(getpid());
    const int out = openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) {
      result.refusals.push_back(label + ": cannot write " + folder + "/" + relative + ": " + std::strerror(errno));
      close(dir);
      continue;
    }
    std::string failure = reader.ExtractFile(i, [out](const char* bytes, size_t n) {
      while (n > 0) {
        const ssize_t w = write(out, bytes, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        bytes += w;
        n -= static_cast<size_t>(w);
      }
      return true;
    });
    const struct timespec times[2] = {{f.unixTime, 0}, {f.unixTime, 0}};
    futimens(out, times);
    if (close(out) != 0 && failure.empty()) failure = std::strerror(errno);
    if (failure.empty() && (force ? renameat(dir, temp.c_str(), dir, name.c_str())
                                  : renameat2(dir, temp.c_str(), dir, name.c_str(), RENAME_NOREPLACE)) != 0)
      failure = std::strerror(errno);
    if (!failure.empty()) {
      unlinkat(dir, temp.c_str(), 0);
      result.refusals.push_back(label + ": " + failure);
    } else {
      ++result.written;
    }
    close(dir);
  }
  close(root);
  return result;
}

}  // namespace bvq
