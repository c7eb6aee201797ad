#pragma once
// Reads a setup that this program built, with its volumes, and checks everything it reads:
// the trailer, the offsets, the script's value count, every cabinet (data checksums included)
// and the payload's files against the script. `--inspect`, `--extract` and the tests read
// setups through this code.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup_build/setup_trailer.h"
#include "setup_reader/cabinet_set.h"
#include "setup_reader/script_layout.h"
#include "setup_reader/volume_chain.h"

namespace bvq {

enum class SetupVerdict { Whole = 0, Damaged = 1, NotOurs = 2 };

struct SetupProblem {
  std::string where;  // "trailer", "script", "volume 2 (disk2.pak)", "payload file 3" ...
  std::string what;
};

struct SetupSideFile {
  std::string name;  // "$inst\4.tmp"
  uint64_t size = 0;
};

struct SetupPayloadFile {
  uint32_t number = 0;
  std::string destination;  // as the script holds it: ANSI, variables as their codes
  std::string mode;         // if-exists mode digit
  bool uninstall = false;
  uint64_t size = 0;
  std::string time;  // "YYYY-MM-DD HH:MM:SS": UTC in stored setups, local time in cabinets
  int64_t unixTime = 0;
  uint32_t attributes = 0;
};

struct SetupContents {
  SetupVerdict verdict = SetupVerdict::Whole;
  std::vector<SetupProblem> problems;
  std::string path;
  bool signedFile = false;  // a certificate table follows the trailer
  SetupTrailer trailer;
  std::vector<std::string> script;  // the values, ANSI
  std::vector<ScriptSection> sections;
  std::string compression;  // "none (stored)", "MSZIP", "LZX"
  std::vector<VolumeFile> volumes;
  std::vector<SetupSideFile> sideFiles;
  std::vector<SetupPayloadFile> files;

  std::string Field(int number) const;
};

class SetupReader {
 public:
  SetupReader();
  ~SetupReader();
  SetupReader(const SetupReader&) = delete;
  SetupReader& operator=(const SetupReader&) = delete;

  // Reads the setup at `path` (once per reader) and, with `decodeEverything`, decodes every file once to check
  // its size and checksums.
  const SetupContents& Read(const std::string& path, bool decodeEverything = true);
  const SetupContents& Contents() const { return contents_; }

  // Streams payload file `index` (of Contents().files) or side file `index` into `sink`;
  // "" on success, else why not.
  std::string ExtractFile(size_t index, const CabinetSink& sink);
  std::string ExtractSideFile(size_t index, const CabinetSink& sink);

  // The raw parts, for checks that look at bytes: the data block and the whole payload.
  std::string DataBlockBytes() const;
  std::string PayloadBytes() const;

 private:
  void ReadTrailer();
  void ReadScript();
  void CollectVolumes();
  void ReadDataBlock();
  void ReadPayload();
  void ReadStoredPayload();
  void ReadCabinetPayload();
  void DecodeEverything();
  void Problem(std::string where, std::string what, SetupVerdict verdict = SetupVerdict::Damaged);
  bool Failed() const { return contents_.verdict != SetupVerdict::Whole; }

  SetupContents contents_;
  VolumeChain chain_;
  std::unique_ptr<CabinetSet> dataCabinet_, payloadCabinets_;
  std::vector<uint64_t> storedOffsets_, sideOffsets_;  // where each file's bytes begin (stored form)
  uint64_t expectedPayload_ = 0;
};

// A destination with its variable codes written as their names: "%InstallPath%\bin\notes.cmd".
std::string DestinationWithVariableNames(const std::string& destination);

}  // namespace bvq
