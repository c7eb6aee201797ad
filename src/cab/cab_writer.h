#pragma once
// CabWriter: writes a set of Microsoft cabinet files. A caller opens a set with the
// path of its first cabinet, adds files one by one under the names they bear inside the
// cabinet, and closes the set. The writer splits the output into folders and cabinets
// by size and by file count, names every further cabinet from templates, creates the
// target folders, and reports placement, progress and status through events whose
// handlers can veto or abort. Failures raise CabinetError.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cab/cab_error.h"
#include "cab/cab_types.h"

namespace bvq {

using cab::CabinetParams;

enum class CabCompression : int { None = 0, MsZip = 1, Lzx = 2 };

class CabWriter;

// Every event receives the writer first; `abort` and `skip` start as false.
using CabFilePlacedHandler =
    std::function<void(CabWriter& writer, const CabinetParams& cabinet, const std::string& fileName,
                       int32_t fileSize, bool continuation, bool& abort)>;
using CabNextCabinetHandler =
    std::function<void(CabWriter& writer, CabinetParams& cabinet, uint32_t previousSize, bool& abort)>;
using CabFileStatusHandler = std::function<void(CabWriter& writer, uint32_t compressedBlockSize,
                                                uint32_t uncompressedBlockSize, bool& abort)>;
using CabFolderStatusHandler =
    std::function<void(CabWriter& writer, uint32_t copiedSize, uint32_t totalSize, bool& abort)>;
using CabinetStatusHandler =
    std::function<void(CabWriter& writer, uint32_t estimatedSize, uint32_t actualSize,
                       uint32_t& desiredSize, bool& abort)>;
using CabProgressHandler = std::function<void(CabWriter& writer, bool& abort)>;
using CabBeforeFileAddHandler =
    std::function<void(CabWriter& writer, const std::string& fileName, bool& skip)>;

namespace cab {
class CabinetEngine;
}

class CabWriter {
 public:
  CabWriter();
  ~CabWriter();  // abandons an open set without a final flush
  CabWriter(const CabWriter&) = delete;
  CabWriter& operator=(const CabWriter&) = delete;

  // Settings.
  uint32_t CabinetSizeThreshold = 0;       // maximum cabinet size; 0 means 0x7FFFFFFF
  uint32_t CabinetFileCountThreshold = 0;  // files per cabinet; 0 means no limit
  uint32_t FolderSizeThreshold = 0;        // folder size threshold; 0 means 0x7FFFFFFF
  uint32_t FolderFileCountThreshold = 0;   // files per folder; 0 means no limit
  uint32_t ReservePerCabinetSize = 0;      // CFHEADER reserve
  uint32_t ReservePerFolderSize = 0;       // CFFOLDER reserve
  uint32_t ReservePerDataSize = 0;         // CFDATA reserve
  uint16_t SetID = 0;
  std::string CabinetNameTemplate;  // "*" becomes the cabinet number
  std::string CabinetPathTemplate;  // "*" becomes the disk number
  std::string DiskLabelTemplate;    // "*" becomes the disk number; empty means "Disk*"
  CabCompression CompressionType() const { return compressionType_; }
  void SetCompressionType(CabCompression value);
  int CompressionLzxLevel() const { return compressionLzxLevel_; }
  // 15..21: the LZX window is 2^level bytes.
  void SetCompressionLzxLevel(int value);

  // Folder of the unnamed temporary data file; empty: the folder of the first cabinet.
  std::string TempFolder;

  // Events.
  CabFilePlacedHandler OnFilePlaced;
  CabNextCabinetHandler OnGetNextCabinet;
  CabFileStatusHandler OnFileStatus;
  CabFolderStatusHandler OnFolderStatus;
  CabinetStatusHandler OnCabinetStatus;
  CabProgressHandler OnProgress;
  CabBeforeFileAddHandler OnBeforeFileAdd;

  // Starts a new set whose first cabinet is `fileName`; a set still open is closed
  // without flushing. An abort from OnGetNextCabinet leaves the writer closed silently.
  void Open(const std::string& fileName);
  // Adds `sourcePath` as `nameInCabinet` (one leading backslash is dropped).
  void AddFile(const std::string& sourcePath, const std::string& nameInCabinet, bool execute);
  void FlushFolder();
  void FlushCabinet(bool getNextCabinet);
  void StartNextCabinet() { FlushCabinet(true); }
  // With `flush`, completes the last cabinet first. Without an open set does nothing.
  void Close(bool flush);

  // State.
  bool IsOpen() const { return static_cast<bool>(context_); }
  const std::string& FileName() const { return fileName_; }
  uint16_t CompressionCode() const { return compressionCode_; }
  const CabinetParams& CurrentCabinet() const { return cabinetParams_; }
  uint32_t FilesInCabinet() const { return filesInCabinet_; }
  uint32_t FilesInFolder() const { return filesInFolder_; }
  int32_t ProgressCountdown() const { return progressCountdown_; }

  // Names of a further cabinet, from the templates.
  std::string CabinetName(int cabinetIndex) const;
  std::string CabinetFolder(int diskIndex) const;
  std::string DiskLabel(int diskIndex) const;

 private:
  void UpdateCompressionCode();
  bool GetNextCabinet(CabinetParams& cabinet, uint32_t previousSize);
  int32_t Status(uint32_t type, uint32_t cb1, uint32_t cb2);
  int32_t FilePlaced(const CabinetParams& cabinet, const std::string& name, uint32_t size, bool continuation);

  std::unique_ptr<cab::CabinetEngine> context_;
  std::string fileName_;
  CabCompression compressionType_ = CabCompression::Lzx;
  int compressionLzxLevel_ = 21;
  uint16_t compressionCode_ = 0;
  CabinetParams cabinetParams_;
  uint32_t filesInCabinet_ = 0;
  uint32_t filesInFolder_ = 0;
  int32_t progressCountdown_ = 0;
};

}  // namespace bvq
