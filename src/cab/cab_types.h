#pragma once
// Records and constants shared by the cabinet writer and its engine: the cabinet
// parameter record and the error codes of the compression interface.
#include <cstdint>
#include <string>

namespace bvq::cab {

// Error codes reported by CabinetError::code().
enum : int32_t {
  FCIERR_NONE = 0,
  FCIERR_OPEN_SRC = 1,          // a source file could not be opened
  FCIERR_READ_SRC = 2,          // a source file could not be read (or changed size)
  FCIERR_ALLOC_FAIL = 3,        // out of memory
  FCIERR_TEMP_FILE = 4,         // the temporary data file could not be created or written
  FCIERR_BAD_COMPR_TYPE = 5,    // unknown or unavailable compression type
  FCIERR_CAB_FILE = 6,          // a cabinet file or its folder could not be created or written
  FCIERR_USER_ABORT = 7,        // an event handler asked to stop
  FCIERR_MCI_FAIL = 8,          // the compressor failed
  FCIERR_CAB_FORMAT_LIMIT = 9,  // a limit of the cabinet format was exceeded
};

// Compression type codes (TCOMP) as stored in CFFOLDER.typeCompress.
constexpr uint16_t tcompTYPE_NONE = 0x0000;
constexpr uint16_t tcompTYPE_MSZIP = 0x0001;
constexpr uint16_t tcompTYPE_LZX = 0x0003;
constexpr uint16_t tcompBAD = 0x000F;

// Kinds of report of the status callback.
constexpr uint32_t kStatusFile = 0;
constexpr uint32_t kStatusFolder = 1;
constexpr uint32_t kStatusCabinet = 2;

// Longest cabinet and disk name, terminator included.
constexpr size_t kMaxCabinetNameSize = 256;
constexpr size_t kMaxDiskNameSize = 256;

// Parameters of one cabinet. `folder` ends with a path separator.
struct CabinetParams {
  uint32_t maxSize = 0;          // maximum cabinet size
  uint32_t folderThreshold = 0;  // folder size after which a new folder begins
  uint32_t headerReserve = 0;    // reserved bytes in the header, each folder entry, each data block
  uint32_t folderReserve = 0;
  uint32_t dataReserve = 0;
  int32_t cabinetIndex = 0;  // cabinet number, 0 for the first cabinet of a set
  int32_t diskIndex = 0;     // disk number
  int32_t failOnIncompressible = 0;
  uint16_t setId = 0;
  std::string diskLabel;
  std::string name;    // cabinet file name
  std::string folder;  // folder of the cabinet
};

}  // namespace bvq::cab
