#include "cab/cab_writer.h"

#include <unistd.h>

#include <cerrno>

#include "cab/cab_engine.h"
#include "cab/cab_names.h"

namespace bvq {

using namespace cab;

CabWriter::CabWriter() { UpdateCompressionCode(); }

CabWriter::~CabWriter() { Close(false); }

void CabWriter::SetCompressionType(CabCompression value) {
  compressionType_ = value;
  UpdateCompressionCode();
}

void CabWriter::SetCompressionLzxLevel(int value) {
  compressionLzxLevel_ = value;
  UpdateCompressionCode();
}

void CabWriter::UpdateCompressionCode() {
  switch (compressionType_) {
    case CabCompression::None: compressionCode_ = tcompTYPE_NONE; break;
    case CabCompression::MsZip: compressionCode_ = tcompTYPE_MSZIP; break;
    case CabCompression::Lzx: compressionCode_ = uint16_t(compressionLzxLevel_ * 256 + tcompTYPE_LZX); break;
    default: compressionCode_ = tcompBAD; break;
  }
}

std::string CabWriter::CabinetName(int cabinetIndex) const {
  if (!CabinetNameTemplate.empty()) return ReplaceStars(CabinetNameTemplate, cabinetIndex);
  std::string name = NamePart(fileName_);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name + std::to_string(cabinetIndex);
  return name.substr(0, dot) + std::to_string(cabinetIndex) + name.substr(dot);
}

std::string CabWriter::CabinetFolder(int diskIndex) const {
  if (!CabinetPathTemplate.empty())
    return WithTrailingSlash(ReplaceStars(CabinetPathTemplate, diskIndex));
  return WithTrailingSlash(FolderPart(fileName_));
}

std::string CabWriter::DiskLabel(int diskIndex) const {
  return ReplaceStars(DiskLabelTemplate.empty() ? std::string("Disk*") : DiskLabelTemplate, diskIndex);
}

void CabWriter::Open(const std::string& fileName) {
  Close(false);
  fileName_ = AbsolutePath(fileName);
  cabinetParams_ = CabinetParams{};
  CabinetParams& p = cabinetParams_;
  p.maxSize = CabinetSizeThreshold ? CabinetSizeThreshold : 0x7FFFFFFF;
  p.folderThreshold = FolderSizeThreshold ? FolderSizeThreshold : 0x7FFFFFFF;
  p.headerReserve = ReservePerCabinetSize;
  p.folderReserve = ReservePerFolderSize;
  p.dataReserve = ReservePerDataSize;
  p.diskIndex = 1;
  p.setId = SetID;
  p.diskLabel = DiskLabel(1);
  p.name = NamePart(fileName_);
  p.folder = FolderPart(fileName_);
  if (OnGetNextCabinet) {
    bool abort = false;
    OnGetNextCabinet(*this, p, 0, abort);
    if (abort) return;
  }
  p.folder = WithTrailingSlash(p.folder);
  if (!CreateFolders(p.folder)) throw CabinetError(FCIERR_CAB_FILE, errno);
  ::unlink((p.folder + p.name).c_str());
  filesInCabinet_ = filesInFolder_ = 0;
  progressCountdown_ = 0;

  EngineCallbacks callbacks;
  callbacks.getNextCabinet = [this](CabinetParams& c, uint32_t prev) { return GetNextCabinet(c, prev); };
  callbacks.status = [this](uint32_t t, uint32_t a, uint32_t b) { return Status(t, a, b); };
  callbacks.filePlaced = [this](const CabinetParams& c, const std::string& n, uint32_t s, bool cont) {
    return FilePlaced(c, n, s, cont);
  };
  context_ = CabinetEngine::Create(cabinetParams_, std::move(callbacks), TempFolder);
}

void CabWriter::AddFile(const std::string& sourcePath, const std::string& nameInCabinet,
                         bool execute) {
  if (OnBeforeFileAdd) {
    bool skip = false;
    OnBeforeFileAdd(*this, sourcePath, skip);
    if (skip) return;
  }
  if (!context_) throw CabinetError(FCIERR_CAB_FILE, EBADF);
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

void CabWriter::FlushFolder() {
  if (!context_) return;
  context_->FlushFolder();
  filesInFolder_ = 0;
}

void CabWriter::FlushCabinet(bool getNextCabinet) {
  if (!context_) return;
  context_->FlushCabinet(getNextCabinet);
  filesInCabinet_ = filesInFolder_ = 0;
}

void CabWriter::Close(bool flush) {
  if (!context_) return;
  if (flush) FlushCabinet(false);
  context_.reset();
}

bool CabWriter::GetNextCabinet(CabinetParams& cabinet, uint32_t previousSize) {
  cabinet.diskIndex += 1;
  cabinet.diskLabel = DiskLabel(cabinet.diskIndex);
  cabinet.name = CabinetName(cabinet.cabinetIndex);
  cabinet.folder = CabinetFolder(cabinet.diskIndex);
  bool abort = false;
  if (OnGetNextCabinet) OnGetNextCabinet(*this, cabinet, previousSize, abort);
  if (!abort) {
    cabinet.folder = WithTrailingSlash(cabinet.folder);
    // A folder that cannot be created makes the cabinet's creation fail later.
    CreateFolders(cabinet.folder);
    std::string name = cabinet.name;
    while (!name.empty() && (name[0] == '/' || name[0] == '\\')) name.erase(0, 1);
    ::unlink((cabinet.folder + name).c_str());
  }
  filesInCabinet_ = filesInFolder_ = 0;
  return !abort;
}

int32_t CabWriter::Status(uint32_t type, uint32_t cb1, uint32_t cb2) {
  bool abort = false;
  int32_t result = 0;
  switch (type) {
    case kStatusFile:
      if (OnFileStatus) OnFileStatus(*this, cb1, cb2, abort);
      if (progressCountdown_ < 0 && OnProgress && !abort) {
        OnProgress(*this, abort);
        progressCountdown_ = 8;
      }
      --progressCountdown_;
      break;
    case kStatusFolder:
      if (OnFolderStatus) OnFolderStatus(*this, cb1, cb2, abort);
      filesInFolder_ = 0;
      break;
    case kStatusCabinet: {
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

int32_t CabWriter::FilePlaced(const CabinetParams& cabinet, const std::string& name, uint32_t size,
                               bool continuation) {
  bool abort = false;
  if (OnFilePlaced) OnFilePlaced(*this, cabinet, name, int32_t(size), continuation, abort);
  return abort ? -1 : 0;
}

}  // namespace bvq
