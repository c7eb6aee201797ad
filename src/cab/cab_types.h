#pragma once
// Records and constants shared by the cabinet writer and its engine: the cabinet
// parameter record and the error codes of the compression interface.
#include <cstdint>
#include <string>

namespace bvq::cab {

// Error codes reported by ECabinetError::code().
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

// Status types of the status callback.
constexpr uint32_t statusFile = 0;
constexpr uint32_t statusFolder = 1;
constexpr uint32_t statusCabinet = 2;

// Longest cabinet and disk name, terminator included.
constexpr size_t CB_MAX_CABINET_NAME = 256;
constexpr size_t CB_MAX_DISK_NAME = 256;

// Parameters of one cabinet. szCabPath ends with a path separator.
struct TCCAB {
  uint32_t cb = 0;              // maximum cabinet size
  uint32_t cbFolderThresh = 0;  // folder size after which a new folder begins
  uint32_t cbReserveCFHeader = 0;
  uint32_t cbReserveCFFolder = 0;
  uint32_t cbReserveCFData = 0;
  int32_t iCab = 0;   // cabinet number, 0 for the first cabinet of a set
  int32_t iDisk = 0;  // disk number
  int32_t fFailOnIncompressible = 0;
  uint16_t setID = 0;
  std::string szDisk;     // disk label
  std::string szCab;      // cabinet file name
  std::string szCabPath;  // folder of the cabinet
};

}  // namespace bvq::cab
