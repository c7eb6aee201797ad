#include "cab/cab_writer.h"

#include <unistd.h>

#include <cerrno>

#include "cab/cab_engine.h"
#include "cab/cab_names.h"

namespace bvq {

using namespace cab;

TCabWriter::TCabWriter() { UpdateCompressionCode(); }

TCabWriter::~TCabWriter() { Close(false); }

void TCabWriter::SetCompressionType(TCabCompressionType value) {
  compressionType_ = value;
  UpdateCompressionCode();
}

void TCabWriter::SetCompressionLzxLevel(TCabLzxLevel value) {
  compressionLzxLevel_ = value;
  UpdateCompressionCode();
}

void TCabWriter::UpdateCompressionCode() {
  switch (compressionType_) {
    case cctNone: compressionCode_ = tcompTYPE_NONE; break;
    case cctMsZip: compressionCode_ = tcompTYPE_MSZIP; break;
    case cctLzx: compressionCode_ = uint16_t(compressionLzxLevel_ * 256 + tcompTYPE_LZX); break;
    default: compressionCode_ = tcompBAD; break;
  }
}

std::string TCabWriter::CabinetName(int iCab) const {
  if (!CabinetNameTemplate.empty()) return ReplaceStars(CabinetNameTemplate, iCab);
  std::string name = NamePart(fileName_);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name + std::to_string(iCab);
  return name.substr(0, dot) + std::to_string(iCab) + name.substr(dot);
}

std::string TCabWriter::CabinetFolder(int iDisk) const {
  if (!CabinetPathTemplate.empty())
    return WithTrailingSlash(ReplaceStars(CabinetPathTemplate, iDisk));
  return WithTrailingSlash(FolderPart(fileName_));
}

std::string TCabWriter::DiskLabel(int iDisk) const {
  return ReplaceStars(DiskLabelTemplate.empty() ? std::string("Disk*") : DiskLabelTemplate, iDisk);
}

void TCabWriter::Open(const std::string& fileName) {
  Close(false);
  fileName_ = AbsolutePath(fileName);
  cabinetParams_ = TCCAB{};
  TCCAB& p = cabinetParams_;
  p.cb = CabinetSizeThreshold ? CabinetSizeThreshold : 0x7FFFFFFF;
  p.cbFolderThresh = FolderSizeThreshold ? FolderSizeThreshold : 0x7FFFFFFF;
  p.cbReserveCFHeader = ReservePerCabinetSize;
  p.cbReserveCFFolder = ReservePerFolderSize;
  p.cbReserveCFData = ReservePerDataSize;
  p.iDisk = 1;
  p.setID = SetID;
  p.szDisk = DiskLabel(1);
  p.szCab = NamePart(fileName_);
  p.szCabPath = FolderPart(fileName_);
  if (OnGetNextCabinet) {
    bool abort = false;
    OnGetNextCabinet(*this, p, 0, abort);
    if (abort) return;
  }
  p.szCabPath = WithTrailingSlash(p.szCabPath);
  if (!CreateFolders(p.szCabPath)) throw ECabinetError(FCIERR_CAB_FILE, errno);
  ::unlink((p.szCabPath + p.szCab).c_str());
  filesInCabinet_ = filesInFolder_ = 0;
  progressCountdown_ = 0;

  EngineCallbacks callbacks;
  callbacks.getNextCabinet = [this](TCCAB& c, uint32_t prev) { return GetNextCabinet(c, prev); };
  callbacks.status = [this](uint32_t t, uint32_t a, uint32_t b) { return Status(t, a, b); };
  callbacks.filePlaced = [this](const TCCAB& c, const std::string& n, uint32_t s, bool cont) {
    return FilePlaced(c, n, s, cont);
  };
  context_ = CabinetEngine::Create(cabinetParams_, std::move(callbacks), TempFolder);
}

void TCabWriter::AddFile(const std::string& sourcePath, const std::string& nameInCabinet,
                         bool execute) {
  if (OnBeforeFileAdd) {
    bool skip = false;
    OnBeforeFileAdd(*this, sourcePath, skip);
    if (skip) return;
  }
  if (!context_) throw ECabinetError(FCIERR_CAB_FILE, EBADF);
  if (CabinetFileCountThreshold != 0 && filesInCabinet_ >= CabinetFileCountThreshold) {
    StartNextCabinet();
  } else if (FolderFileCountThreshold != 0 && filesInFolder_ >= FolderFileCountThreshold) {
    FlushFolder();
  }
  std::string name = nameInCabinet;
  if (!name.empty() && name[0] == '\\') name.erase(0, 1);
  context_->AddFile(sourcePath, name, execute, compressionCode_);
  ++filesInCabinet_;
  ++filesInFolder_;
}

void TCabWriter::FlushFolder() {
  if (!context_) return;
  context_->FlushFolder();
  filesInFolder_ = 0;
}

void TCabWriter::FlushCabinet(bool getNextCabinet) {
  if (!context_) return;
  context_->FlushCabinet(getNextCabinet);
  filesInCabinet_ = filesInFolder_ = 0;
}

void TCabWriter::Close(bool flush) {
  if (!context_) return;
  if (flush) FlushCabinet(false);
  context_.reset();
}

bool TCabWriter::GetNextCabinet(TCCAB& ccab, uint32_t prevCabSize) {
  ccab.iDisk += 1;
  ccab.szDisk = DiskLabel(ccab.iDisk);
  ccab.szCab = CabinetName(ccab.iCab);
  ccab.szCabPath = CabinetFolder(ccab.iDisk);
  bool abort = false;
  if (OnGetNextCabinet) OnGetNextCabinet(*this, ccab, prevCabSize, abort);
  if (!abort) {
    ccab.szCabPath = WithTrailingSlash(ccab.szCabPath);
    // A folder that cannot be created makes the cabinet's creation fail later.
    CreateFolders(ccab.szCabPath);
    std::string name = ccab.szCab;
    while (!name.empty() && (name[0] == '/' || name[0] == '\\')) name.erase(0, 1);
    ::unlink((ccab.szCabPath + name).c_str());
  }
  filesInCabinet_ = filesInFolder_ = 0;
  return !abort;
}

int32_t TCabWriter::Status(uint32_t type, uint32_t cb1, uint32_t cb2) {
  bool abort = false;
  int32_t result = 0;
  switch (type) {
    case statusFile:
      if (OnFileStatus) OnFileStatus(*this, cb1, cb2, abort);
      if (progressCountdown_ < 0 && OnProgress && !abort) {
        OnProgress(*this, abort);
        progressCountdown_ = 8;
      }
      --progressCountdown_;
      break;
    case statusFolder:
      if (OnFolderStatus) OnFolderStatus(*this, cb1, cb2, abort);
      filesInFolder_ = 0;
      break;
    case statusCabinet: {
      uint32_t desired = 0;
      if (OnCabinetStatus) OnCabinetStatus(*this, cb1, cb2, desired, abort);
      result = int32_t(desired);
      filesInCabinet_ = filesInFolder_ = 0;
      break;
    }
    default: break;
  }
  return abort ? -1 : result;
}

int32_t TCabWriter::FilePlaced(const TCCAB& ccab, const std::string& name, uint32_t size,
                               bool continuation) {
  bool abort = false;
  if (OnFilePlaced) OnFilePlaced(*this, ccab, name, int32_t(size), continuation, abort);
  return abort ? -1 : 0;
}

}  // namespace bvq
