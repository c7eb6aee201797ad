#pragma once
// TCabWriter: writes a set of Microsoft cabinet files. A caller opens a set with the
// path of its first cabinet, adds files one by one under the names they bear inside the
// cabinet, and closes the set. The writer splits the output into folders and cabinets
// by size and by file count, names every further cabinet from templates, creates the
// target folders, and reports placement, progress and status through events whose
// handlers can veto or abort. Failures raise ECabinetError.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cab/cab_error.h"
#include "cab/cab_types.h"

namespace bvq {

using cab::TCCAB;

enum TCabCompressionType : int { cctNone = 0, cctMsZip = 1, cctLzx = 2 };
using TCabLzxLevel = int;  // 15..21: the LZX window is 2^level bytes

class TCabWriter;

// Every event receives the writer first; anAbort and aSkip start as false.
using TCabWriterFilePlacedEvent =
    std::function<void(TCabWriter& Sender, const TCCAB& aCCab, const std::string& aFileName,
                       int32_t aFileSize, bool aContinuation, bool& anAbort)>;
using TCabWriterGetNextCabinetEvent =
    std::function<void(TCabWriter& Sender, TCCAB& aCCab, uint32_t aPrevCabSize, bool& anAbort)>;
using TCabWriterFileStatusEvent =
    std::function<void(TCabWriter& Sender, uint32_t aCompressedBlockSize,
                       uint32_t anUncompressedBlockSize, bool& anAbort)>;
using TCabWriterFolderStatusEvent = std::function<void(TCabWriter& Sender, uint32_t aCopiedSize,
                                                       uint32_t aTotalSize, bool& anAbort)>;
using TCabWriterCabinetStatusEvent =
    std::function<void(TCabWriter& Sender, uint32_t aPrevEstimatedSize, uint32_t anActualSize,
                       uint32_t& aDesiredSize, bool& anAbort)>;
using TCabWriterProgressEvent = std::function<void(TCabWriter& Sender, bool& anAbort)>;
using TCabWriterBeforeFileAddEvent =
    std::function<void(TCabWriter& Sender, const std::string& aFileName, bool& aSkip)>;

namespace cab {
class CabinetEngine;
}

class TCabWriter {
 public:
  TCabWriter();
  ~TCabWriter();  // abandons an open set without a final flush
  TCabWriter(const TCabWriter&) = delete;
  TCabWriter& operator=(const TCabWriter&) = delete;

  // Published properties.
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
  TCabCompressionType CompressionType() const { return compressionType_; }
  void SetCompressionType(TCabCompressionType value);
  TCabLzxLevel CompressionLzxLevel() const { return compressionLzxLevel_; }
  void SetCompressionLzxLevel(TCabLzxLevel value);

  // Folder of the unnamed temporary data file; empty: the folder of the first cabinet.
  std::string TempFolder;

  // Events.
  TCabWriterFilePlacedEvent OnFilePlaced;
  TCabWriterGetNextCabinetEvent OnGetNextCabinet;
  TCabWriterFileStatusEvent OnFileStatus;
  TCabWriterFolderStatusEvent OnFolderStatus;
  TCabWriterCabinetStatusEvent OnCabinetStatus;
  TCabWriterProgressEvent OnProgress;
  TCabWriterBeforeFileAddEvent OnBeforeFileAdd;

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
  const TCCAB& CabinetParams() const { return cabinetParams_; }
  uint32_t FilesInCabinet() const { return filesInCabinet_; }
  uint32_t FilesInFolder() const { return filesInFolder_; }
  int32_t ProgressCountdown() const { return progressCountdown_; }

  // Names of a further cabinet, from the templates.
  std::string CabinetName(int iCab) const;
  std::string CabinetFolder(int iDisk) const;
  std::string DiskLabel(int iDisk) const;

 private:
  void UpdateCompressionCode();
  bool GetNextCabinet(TCCAB& ccab, uint32_t prevCabSize);
  int32_t Status(uint32_t type, uint32_t cb1, uint32_t cb2);
  int32_t FilePlaced(const TCCAB& ccab, const std::string& name, uint32_t size, bool continuation);

  std::unique_ptr<cab::CabinetEngine> context_;
  std::string fileName_;
  TCabCompressionType compressionType_ = cctLzx;
  TCabLzxLevel compressionLzxLevel_ = 21;
  uint16_t compressionCode_ = 0;
  TCCAB cabinetParams_;
  uint32_t filesInCabinet_ = 0;
  uint32_t filesInFolder_ = 0;
  int32_t progressCountdown_ = 0;
};

}  // namespace bvq
