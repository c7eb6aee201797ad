#include "setup_build/binary_file.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "util/files.h"

namespace bvq {

BinaryFile::~BinaryFile() {
  if (fd_ >= 0) ::close(fd_);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

void BinaryFile::Fail(const char* what) const {
  throw FileError(std::string("cannot ") + what + " " + path_ + ": " + FileErrorText(errno));
}

void BinaryFile::Open(const std::string& path, Mode mode) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_ = path;
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::Create: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
  }
  // Reading opens regular files only, without blocking on a FIFO or device.
  fd_ = mode == Mode::Read ? OpenRegularFile(path) : ::open(path.c_str(), flags, 0666);
  if (fd_ < 0) Fail(mode == Mode::Create ? "create" : "open");
  struct stat st{};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    errno = EISDIR;
    Fail("open");
  }
}

uint64_t BinaryFile::Size() const {
  struct stat st{};
  if (::fstat(fd_, &st) != 0) Fail("examine");
  return static_cast<uint64_t>(st.st_size);
}

uint64_t BinaryFile::Position() const {
  off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  if (pos < 0) Fail("seek in");
  return static_cast<uint64_t>(pos);
}

void BinaryFile::Seek(uint64_t offset) {
  if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) Fail("seek in");
}

void BinaryFile::SeekToEnd() {
  if (::lseek(fd_, 0, SEEK_END) < 0) Fail("seek in");
}

size_t BinaryFile::Read(void* data, size_t size) {
  auto* p = static_cast<char*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd_, p + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("read");
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void BinaryFile::ReadExact(void* data, size_t size) {
  if (Read(data, size) != size) {
    errno = EIO;
    Fail("read all of");
  }
}

void BinaryFile::Write(const void* data, size_t size) {
  auto* p = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fd_, p + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("write");
    }
    if (n == 0) {
      errno = ENOSPC;
      Fail("write");
    }
    done += static_cast<size_t>(n);
  }
}

namespace {
// The kernel has no in-kernel copy between these two files (other file systems, special
// files, an old kernel or a sandbox that forbids the call).
bool KernelCannotCopy(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM ||
         error == EBADF;
}
}  // namespace

std::optional<size_t> BinaryFile::CopyInKernel(BinaryFile& source, size_t size) {
  if (size == 0) return 0;
  for (;;) {
    ssize_t n = ::copy_file_range(source.fd_, nullptr, fd_, nullptr, size, 0);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    if (!KernelCannotCopy(errno)) Fail("copy into");
    break;
  }
  // sendfile copies between any two files that support it, across file systems too.
  for (;;) {
    ssize_t n = ::sendfile(fd_, source.fd_, nullptr, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    if (!KernelCannotCopy(errno)) Fail("copy into");
    return std::nullopt;
  }
}

void BinaryFile::Close() {
  if (fd_ < 0) return;
  int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) Fail("close");
}

void CopyWholeFile(const std::string& source, const std::string& target) {
  BinaryFile in(source, BinaryFile::Mode::Read);
  BinaryFile out(target, BinaryFile::Mode::Create);
  for (;;) {
    std::optional<size_t> n = out.CopyInKernel(in, size_t{1} << 30);
    if (!n) break;  // the plain loop below copies the rest
    if (*n == 0) {
      out.Close();
      return;
    }
  }
  std::vector<char> buffer(1 << 16);
  for (;;) {
    size_t n = in.Read(buffer.data(), buffer.size());
    if (n == 0) break;
    out.Write(buffer.data(), n);
  }
  out.Close();
}

}  // namespace bvq
