#include "resedit/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/shell_folders.h"

namespace bvq::resedit {

int CreateAnonymousTempFile(std::string_view namePrefix) {
  std::string pattern = TempFolder();
  if (!pattern.empty() && pattern.back() != '/') pattern += '/';
  pattern.append(namePrefix);
  pattern += "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  unlink(name.data());
  return fd;
}

bool WriteAllAt(int fd, const void* data, size_t size, uint64_t offset) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = pwrite(fd, p, size, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset) {
  auto* p = static_cast<uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

}  // namespace bvq::resedit
