#include "setup_reader/volume_chain.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "setup_build/certificate_table.h"

namespace bvq {
namespace {

bool ReadFully(int fd, uint64_t offset, void* buffer, size_t count) {
  auto* p = static_cast<char*>(buffer);
  while (count > 0) {
    const ssize_t n = pread(fd, p, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += static_cast<uint64_t>(n);
    count -= static_cast<size_t>(n);
  }
  return true;
}

// A regular file opened for reading, or -1 with `error` set.
int OpenRegular(const std::string& path, uint64_t& size, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = fd < 0 ? std::strerror(errno) : "not a regular file";
    if (fd >= 0) close(fd);
    return -1;
  }
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

}  // namespace

VolumeChain::~VolumeChain() {
  for (int fd : fds_) close(fd);
}

bool VolumeChain::OpenSetup(const std::string& path, std::string& error) {
  VolumeFile v{path};
  const int fd = OpenRegular(path, v.size, error);
  if (fd < 0) return false;
  uint64_t size = 0;
  contentEnd_ = v.size;
  if (!ContentEndBeforeCertificates(path, contentEnd_, size) || size != v.size) contentEnd_ = v.size;
  volumes_.push_back(v);
  fds_.push_back(fd);
  return true;
}

bool VolumeChain::ReadSetup(uint64_t offset, void* buffer, size_t count) const {
  if (fds_.empty() || offset > contentEnd_ || count > contentEnd_ - offset) return false;
  return ReadFully(fds_[0], offset, buffer, count);
}

void VolumeChain::SetSetupPayload(uint64_t start, uint64_t size) {
  volumes_[0].payloadStart = start;
  volumes_[0].payloadSize = size;
}

bool VolumeChain::AddVolume(const std::string& path, std::string& error) {
  VolumeFile v{path};
  const int fd = OpenRegular(path, v.size, error);
  if (fd < 0) return false;
  v.payloadSize = v.size;
  volumes_.push_back(v);
  fds_.push_back(fd);
  return true;
}

uint64_t VolumeChain::PayloadSize() const {
  uint64_t total = 0;
  for (const VolumeFile& v : volumes_) total += v.payloadSize;
  return total;
}

bool VolumeChain::ReadPayload(uint64_t offset, void* buffer, size_t count) const {
  auto* p = static_cast<char*>(buffer);
  for (size_t i = 0; i < volumes_.size() && count > 0; ++i) {
    const VolumeFile& v = volumes_[i];
    if (offset >= v.payloadSize) {
      offset -= v.payloadSize;
      continue;
    }
    const size_t here = static_cast<size_t>(std::min<uint64_t>(count, v.payloadSize - offset));
    if (!ReadFully(fds_[i], v.payloadStart + offset, p, here)) return false;
    p += here;
    count -= here;
    offset = 0;
  }
  return count == 0;
}

}  // namespace bvq
