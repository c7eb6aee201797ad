#include "cab/cab_records.h"

namespace bvq::cab {
namespace {

void Put8(std::vector<uint8_t>& b, uint8_t v) { b.push_back(v); }
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}
void PutString(std::vector<uint8_t>& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}
void PutZeros(std::vector<uint8_t>& b, size_t n) { b.resize(b.size() + n, 0); }

}  // namespace

void CabHeader::Write(std::vector<uint8_t>& out) const {
  out.insert(out.end(), {'M', 'S', 'C', 'F'});
  Put32(out, 0);  // reserved1
  Put32(out, cbCabinet);
  Put32(out, 0);  // reserved2
  Put32(out, coffFiles);
  Put32(out, 0);  // reserved3
  Put8(out, 3);   // versionMinor: format version 1.3
  Put8(out, 1);   // versionMajor
  Put16(out, cFolders);
  Put16(out, cFiles);
  Put16(out, flags);
  Put16(out, setID);
  Put16(out, iCabinet);
  if (flags & cfhdrRESERVE_PRESENT) {
    Put16(out, cbCFHeader);
    Put8(out, cbCFFolder);
    Put8(out, cbCFData);
    PutZeros(out, cbCFHeader);
  }
  if (flags & cfhdrPREV_CABINET) {
    PutString(out, szCabinetPrev);
    PutString(out, szDiskPrev);
  }
  if (flags & cfhdrNEXT_CABINET) {
    PutString(out, szCabinetNext);
    PutString(out, szDiskNext);
  }
}

void CabFolderEntry::Write(std::vector<uint8_t>& out, uint32_t reserve) const {
  Put32(out, coffCabStart);
  Put16(out, cCFData);
  Put16(out, typeCompress);
  PutZeros(out, reserve);
}

void CabFileEntry::Write(std::vector<uint8_t>& out) const {
  Put32(out, cbFile);
  Put32(out, uoffFolderStart);
  Put16(out, iFolder);
  Put16(out, date);
  Put16(out, time);
  Put16(out, attribs);
  PutString(out, szName);
}

void CabDataHeader::Write(std::vector<uint8_t>& out, uint32_t reserve) const {
  Put32(out, csum);
  Put16(out, cbData);
  Put16(out, cbUncomp);
  PutZeros(out, reserve);
}

}  // namespace bvq::cab
