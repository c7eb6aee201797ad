#include "setup_build/certificate_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bvq {
namespace {

constexpr size_t kMaxSigningPadding = 7;

uint32_t Le32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ReadAt(int fd, uint64_t offset, void* buffer, size_t count) {
  return pread(fd, buffer, count, static_cast<off_t>(offset)) == static_cast<ssize_t>(count);
}

// The security directory's (file offset, size), or size 0 when there is none.
void SecurityDirectory(int fd, uint64_t fileSize, uint32_t& offset, uint32_t& size) {
  offset = size = 0;
  unsigned char dos[64];
  if (fileSize < sizeof dos || !ReadAt(fd, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return;
  const uint64_t pe = Le32(dos + 60);
  unsigned char head[4 + 20 + 2];
  if (pe + sizeof head > fileSize || !ReadAt(fd, pe, head, sizeof head)) return;
  if (head[0] != 'P' || head[1] != 'E' || head[2] || head[3]) return;
  const unsigned magic = head[24] | head[25] << 8;
  // Data directory 4 (security) lies 96 + 4 * 8 bytes into a 32-bit optional header, 16 more in a 64-bit one.
  const uint64_t directories = pe + 24 + (magic == 0x20b ? 112 : magic == 0x10b ? 96 : 0);
  if (directories == pe + 24) return;
  unsigned char entry[8];
  if (!ReadAt(fd, directories + 4 * 8, entry, sizeof entry)) return;
  offset = Le32(entry);
  size = Le32(entry + 4);
}

}  // namespace

bool ContentEndBeforeCertificates(const std::string& path, uint64_t& contentEnd, uint64_t& fileSize) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    close(fd);
    return false;
  }
  fileSize = contentEnd = static_cast<uint64_t>(st.st_size);
  uint32_t offset = 0, size = 0;
  SecurityDirectory(fd, fileSize, offset, size);
  // Only a table that ends the file counts: anything else is not a signature we can step over.
  if (size != 0 && uint64_t(offset) + size == fileSize) {
    contentEnd = offset;
    unsigned char tail[kMaxSigningPadding];
    const size_t n = contentEnd < kMaxSigningPadding ? static_cast<size_t>(contentEnd) : kMaxSigningPadding;
    if (ReadAt(fd, contentEnd - n, tail, n))
      for (size_t i = n; i > 0 && tail[i - 1] == 0; --i) --contentEnd;
  }
  close(fd);
  return true;
}

}  // namespace bvq
