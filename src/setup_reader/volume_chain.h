#pragma once
// The files of a built setup read as one: volume 0 (the setup file) up to its trailer, and the
// payload, which runs from the end of the data block to the trailer and continues through the
// further volumes in order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bvq {

struct VolumeFile {
  std::string path;
  uint64_t size = 0;          // the file's size
  uint64_t payloadStart = 0;  // where its share of the payload begins in the file
  uint64_t payloadSize = 0;   // how many payload bytes it holds
};

class VolumeChain {
 public:
  VolumeChain() = default;
  VolumeChain(const VolumeChain&) = delete;
  VolumeChain& operator=(const VolumeChain&) = delete;
  ~VolumeChain();

  // Opens volume 0. False (with `error`) when it cannot be read.
  bool OpenSetup(const std::string& path, std::string& error);
  // Volume 0's own content: its size, or where a certificate table begins (less its padding).
  uint64_t ContentEnd() const { return contentEnd_; }
  uint64_t FileSize() const { return volumes_.empty() ? 0 : volumes_[0].size; }
  bool Signed() const { return contentEnd_ != FileSize(); }
  // Reads from volume 0; false when the range is not there.
  bool ReadSetup(uint64_t offset, void* buffer, size_t count) const;

  // Volume 0's payload is [start, start + size); a further volume holds payload only.
  void SetSetupPayload(uint64_t start, uint64_t size);
  // Appends a further volume; false (with `error`) when it cannot be opened.
  bool AddVolume(const std::string& path, std::string& error);

  const std::vector<VolumeFile>& Volumes() const { return volumes_; }
  uint64_t PayloadSize() const;
  // Reads `count` payload bytes from payload offset `offset`; false when they are not there.
  bool ReadPayload(uint64_t offset, void* buffer, size_t count) const;

 private:
  std::vector<VolumeFile> volumes_;
  std::vector<int> fds_;
  uint64_t contentEnd_ = 0;
};

}  // namespace bvq
