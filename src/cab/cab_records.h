#pragma once
// The on-disk records of a cabinet file, in the order they appear: one header (CFHEADER),
// one entry per folder (CFFOLDER), one entry per file (CFFILE), and for each data block a
// CFDATA header followed by its payload. All numbers are little-endian. Each record knows
// its size and appends itself to a buffer; the field names are those of the format.
#include <cstdint>
#include <string>
#include <vector>

namespace bvq::cab {

// CFHEADER.flags
constexpr uint16_t cfhdrPREV_CABINET = 0x0001;
constexpr uint16_t cfhdrNEXT_CABINET = 0x0002;
constexpr uint16_t cfhdrRESERVE_PRESENT = 0x0004;

// CFFILE.iFolder values for files that begin or end in another cabinet.
constexpr uint16_t ifoldCONTINUED_FROM_PREV = 0xFFFD;
constexpr uint16_t ifoldCONTINUED_TO_NEXT = 0xFFFE;
constexpr uint16_t ifoldCONTINUED_PREV_AND_NEXT = 0xFFFF;

struct CabHeader {
  // Size without the reserve fields and the names.
  static constexpr uint32_t kFixedSize = 36;
  // Size of cbCFHeader, cbCFFolder and cbCFData.
  static constexpr uint32_t kReserveFieldsSize = 4;

  uint32_t cbCabinet = 0;  // size of the whole cabinet file
  uint32_t coffFiles = 0;  // offset of the first CFFILE
  uint16_t cFolders = 0;
  uint16_t cFiles = 0;
  uint16_t flags = 0;  // cfhdr* bits; they say which of the optional fields below are written
  uint16_t setID = 0;
  uint16_t iCabinet = 0;
  uint16_t cbCFHeader = 0;  // reserve sizes, written with cfhdrRESERVE_PRESENT
  uint8_t cbCFFolder = 0;
  uint8_t cbCFData = 0;
  std::string szCabinetPrev, szDiskPrev;  // written with cfhdrPREV_CABINET
  std::string szCabinetNext, szDiskNext;  // written with cfhdrNEXT_CABINET

  // The header's own reserved area (cbCFHeader bytes) is written as zeros.
  void Write(std::vector<uint8_t>& out) const;
};

struct CabFolderEntry {
  static constexpr uint32_t kFixedSize = 8;  // without the reserved area

  uint32_t coffCabStart = 0;  // offset of the folder's first CFDATA
  uint16_t cCFData = 0;       // data blocks of the folder in this cabinet
  uint16_t typeCompress = 0;

  // Followed by `reserve` zero bytes (CFHEADER.cbCFFolder).
  void Write(std::vector<uint8_t>& out, uint32_t reserve) const;
};

struct CabFileEntry {
  static constexpr uint32_t kFixedSize = 16;  // without the name
  static uint64_t Size(const std::string& name) { return kFixedSize + name.size() + 1; }

  uint32_t cbFile = 0;
  uint32_t uoffFolderStart = 0;  // uncompressed offset of the file in its folder
  uint16_t iFolder = 0;          // index of its folder in this cabinet, or an ifold* value
  uint16_t date = 0;
  uint16_t time = 0;
  uint16_t attribs = 0;
  std::string szName;

  void Write(std::vector<uint8_t>& out) const;
};

// The header of a data block; its payload of cbData bytes follows it.
struct CabDataHeader {
  static constexpr uint32_t kFixedSize = 8;  // without the reserved area

  uint32_t csum = 0;
  uint16_t cbData = 0;    // compressed size
  uint16_t cbUncomp = 0;  // uncompressed size; 0 for the first part of a block split between cabinets

  // Followed by `reserve` zero bytes (CFHEADER.cbCFData).
  void Write(std::vector<uint8_t>& out, uint32_t reserve) const;
};

}  // namespace bvq::cab
