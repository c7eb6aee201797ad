#pragma once
// The cabinet engine: writes a set of Microsoft cabinet files from files added one by
// one, with the five operations of the file compression interface (create, add file,
// flush folder, flush cabinet, destroy). It splits the data into folders and cabinets,
// continues a folder into the next cabinet when a cabinet is full (the last data block
// split between the two, the continued files marked in both), and reports through
// callbacks. Every failure raises CabinetError with its FCIERR_* code. Memory stays
// bounded: compressed blocks of the cabinet being filled wait in an unnamed temporary
// file, only the file and folder entries are kept in memory.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cab/cab_error.h"
#include "cab/cab_types.h"
#include "cab/folder_compressor.h"

namespace bvq::cab {

struct EngineCallbacks {
  // Asked for the record of the next cabinet; cabinetIndex is already advanced. The callback
  // may change any field. false aborts the running operation.
  std::function<bool(CabinetParams& next, uint32_t prevCabEstimate)> getNextCabinet;
  // kStatusFile (compressed, uncompressed block size), kStatusFolder (copied, total),
  // kStatusCabinet (estimated, actual size). -1 aborts.
  std::function<int32_t(uint32_t type, uint32_t cb1, uint32_t cb2)> status;
  // A file entry was committed to the cabinet `cab`. -1 aborts.
  std::function<int32_t(const CabinetParams& cab, const std::string& name, uint32_t size,
                        bool continuation)>
      filePlaced;
};

class CabinetEngine {
 public:
  // The engine keeps `params` up to date with the cabinet being filled. `tempFolder`
  // receives the unnamed data file (the folder of the first cabinet when empty).
  static std::unique_ptr<CabinetEngine> Create(CabinetParams& params, EngineCallbacks callbacks,
                                               const std::string& tempFolder = {});
  ~CabinetEngine();

  // A failure that leaves the engine as it was (a source file that cannot be opened, a
  // name or compression type refused) lets the set go on; after any other failure every
  // further operation raises that failure again.
  void AddFile(const std::string& source, const std::string& name, bool execute,
               uint16_t typeCompress);
  void FlushFolder();
  void FlushCabinet(bool getNextCabinet);

  CabinetEngine(const CabinetEngine&) = delete;
  CabinetEngine& operator=(const CabinetEngine&) = delete;

 private:
  struct Entry;
  struct FolderPart;
  struct BlockRecord;
  struct Carried;
  class Spill;

  CabinetEngine(CabinetParams& params, EngineCallbacks callbacks);
  template <class F>
  void Guarded(F&& body);

  void AddFileInner(const std::string& source, const std::string& name, bool execute,
                    uint16_t typeCompress);
  void OpenFolder(uint16_t typeCompress);
  void CloseFolder();
  void FlushCabinetInner(bool getNext);
  void OnBlock(const uint8_t* data, size_t size, uint32_t uncompressed);
  void PlaceBlock(const uint8_t* data, size_t size, uint32_t uncompressed);
  void AppendBlock(const uint8_t* data, size_t size, uint32_t uncompressed);
  void Cut(std::deque<Carried> carry);
  CabinetParams AskNextCabinet();
  void WriteCabinet(bool hasNext, const CabinetParams* next, bool lastFolderContinues);
  void StartCabinet(const CabinetParams& record, bool linkPrevious);
  void CheckFreshCabinet();
  uint64_t Size(uint64_t nextNamesLength) const;
  uint64_t HeaderSize(uint64_t nextNamesLength) const;
  uint32_t FolderEntrySize() const;
  uint32_t DataHeaderSize() const;
  // Fail: the engine is broken from here on. Refuse: nothing was changed yet.
  [[noreturn]] void Fail(int32_t code, int32_t system = 0);
  [[noreturn]] void Refuse(int32_t code, int32_t system = 0);

  CabinetParams& params_;
  EngineCallbacks cb_;
  std::unique_ptr<Spill> spill_;
  std::optional<CabinetError> failure_;  // set once a failure broke the engine
  bool refused_ = false;                  // the failure being raised is a refusal

  // The cabinet being filled.
  CabinetParams cur_;
  bool reserve_ = false;
  bool hasPrev_ = false;
  std::string prevCab_, prevDisk_;
  std::vector<FolderPart> folders_;
  std::vector<Entry> entries_;
  uint64_t entryBytes_ = 0;
  std::vector<BlockRecord> lastBlocks_;  // blocks of folders_.back() in this cabinet
  uint32_t estimate_ = 0;                // size announced when the next cabinet was asked
  bool ended_ = false;                   // the set was flushed without a next cabinet

  // The last folder (open, or closed but still the last one of the cabinet).
  bool folderOpen_ = false;
  uint64_t folderSerial_ = 0;
  uint64_t serials_ = 0;
  uint16_t folderType_ = 0;
  std::unique_ptr<FolderCompressor> compressor_;
  uint16_t compressorType_ = 0xFFFF;
  uint64_t fed_ = 0;             // uncompressed bytes given to the compressor
  uint64_t placedUncomp_ = 0;    // uncompressed bytes of its complete blocks placed so far
  uint64_t folderCompressed_ = 0;
  uint64_t emittedUncomp_ = 0;   // uncompressed bytes the compressor has emitted
  bool continuedThisFile_ = false;
  std::vector<uint8_t> readBuffer_;
};

}  // namespace bvq::cab
