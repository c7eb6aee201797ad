#pragma once
// A file opened by the build, with every failure (open, read, write, seek, close) raised as
// FileError naming the path and the system's reason: the build ends on it and cleans up.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace bvq {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BinaryFile {
 public:
  enum class Mode {
    Read,       // existing file, read only
    ReadWrite,  // existing file, read and write
    Create,     // created or truncated, write only
  };
  BinaryFile() = default;
  BinaryFile(const std::string& path, Mode mode) { Open(path, mode); }
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;

  void Open(const std::string& path, Mode mode);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

  uint64_t Size() const;
  uint64_t Position() const;
  void Seek(uint64_t offset);
  void SeekToEnd();
  // Reads up to `size` bytes; fewer only at the end of the file.
  size_t Read(void* data, size_t size);
  // Reads exactly `size` bytes or raises.
  void ReadExact(void* data, size_t size);
  // Writes all bytes or raises (a full disk raises here).
  void Write(const void* data, size_t size);
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
  // Copies up to `size` bytes from `source`'s position to this file's position inside the
  // kernel, advancing both. Returns the number copied (0 at the end of the source), or
  // nothing when the kernel cannot copy between these two files: the caller then reads
  // and writes itself. Other failures raise.
  std::optional<size_t> CopyInKernel(BinaryFile& source, size_t size);
  // Closes the file; a failing close (delayed write error) raises.
  void Close();

 private:
  [[noreturn]] void Fail(const char* what) const;
  int fd_ = -1;
  std::string path_;
};

// Copies a whole file, replacing the target. Raises FileError.
void CopyWholeFile(const std::string& source, const std::string& target);

}  // namespace bvq
