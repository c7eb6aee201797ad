#include "cab/cab_engine.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "cab/cab_checksum.h"
#include "cab/cab_records.h"
#include "cab/source_file.h"

namespace bvq::cab {
namespace {

constexpr uint64_t kUnlimited = 0x7FFFFFFF;
// Longest szCabinetNext + szDiskNext, terminators included: the header of a cabinet may
// grow by this much when it turns out to need a next cabinet.
constexpr uint64_t kMaxNextNames = kMaxCabinetNameSize + kMaxDiskNameSize;
// Largest uncompressed size of a folder (and so of a file).
constexpr uint64_t kMaxFolderUncompressed = 0x7FFF8000;
constexpr uint32_t kMaxCount = 0xFFFF;  // files, folders, data blocks per folder
constexpr size_t kReadChunk = 256 * 1024;

uint32_t Clamp32(uint64_t v) { return v > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(v); }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= size_t(w);
  }
  return true;
}

bool ValidCompression(uint16_t type) {
  if (type == tcompTYPE_NONE || type == tcompTYPE_MSZIP) return true;
  if ((type & 0x00FF) != tcompTYPE_LZX) return false;
  int bits = (type >> 8) & 0x1F;
  return bits >= 15 && bits <= 21 && (type & 0xE000) == 0;
}

}  // namespace

struct CabinetEngine::Entry {
  std::string name;
  uint32_t size;
  uint32_t offset;  // uncompressed offset in its folder
  uint16_t date, time, attribs;
  uint64_t folder;  // serial of its folder
  bool fromPrev;    // listed in the previous cabinet already
};

struct CabinetEngine::FolderPart {
  uint64_t serial;
  uint16_t type;
  bool fromPrev;  // continues a folder of the previous cabinet
  uint64_t spillStart;
  uint32_t blocks;
};

struct CabinetEngine::BlockRecord {
  uint64_t offset;  // of its CFDATA header in the spill
  uint32_t cbData;
  uint32_t cbUncomp;
};

struct CabinetEngine::Carried {
  std::vector<uint8_t> data;
  uint32_t uncomp;
};

// The compressed data of the cabinet being filled, in cabinet order. The file has no
// name from the start, so nothing is left behind whatever happens to the process.
class CabinetEngine::Spill {
 public:
  static std::unique_ptr<Spill> Create(const std::string& folder) {
    std::string dir = folder.empty() ? "." : folder;
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
      std::string tmpl = JoinPath(dir, ".stcXXXXXX");
      fd = mkostemp(tmpl.data(), O_CLOEXEC);
      if (fd < 0) return nullptr;
      ::unlink(tmpl.c_str());
    }
    auto s = std::make_unique<Spill>();
    s->fd = fd;
    return s;
  }
  ~Spill() {
    if (fd >= 0) ::close(fd);
  }
  bool Append(const uint8_t* head, size_t headSize, const uint8_t* data, size_t dataSize) {
    struct iovec iov[2] = {{const_cast<uint8_t*>(head), headSize},
                           {const_cast<uint8_t*>(data), dataSize}};
    size_t want = headSize + dataSize;
    ssize_t w = ::pwritev(fd, iov, 2, off_t(size));
    if (w == ssize_t(want)) {
      size += want;
      return true;
    }
    if (w >= 0) {  // short write: finish the rest plainly
      std::vector<uint8_t> all(head, head + headSize);
      all.insert(all.end(), data, data + dataSize);
      size_t done = size_t(w);
      while (done < want) {
        ssize_t r = ::pwrite(fd, all.data() + done, want - done, off_t(size + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
          if (r == 0) errno = ENOSPC;
          return false;
        }
        done += size_t(r);
      }
      size += want;
      return true;
    }
    return false;
  }
  bool ReadAt(uint64_t offset, uint8_t* out, size_t n) const {
    while (n > 0) {
      ssize_t r = ::pread(fd, out, n, off_t(offset));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        if (r == 0) errno = EIO;
        return false;
      }
      out += r;
      n -= size_t(r);
      offset += uint64_t(r);
    }
    return true;
  }
  bool Truncate(uint64_t n) {
    if (::ftruncate(fd, off_t(n)) != 0) return false;
    size = n;
    return true;
  }

  int fd = -1;
  uint64_t size = 0;
};

CabinetEngine::CabinetEngine(CabinetParams& params, EngineCallbacks callbacks)
    : params_(params), cb_(std::move(callbacks)) {}

CabinetEngine::~CabinetEngine() = default;

std::unique_ptr<CabinetEngine> CabinetEngine::Create(CabinetParams& params, EngineCallbacks callbacks,
                                                     const std::string& tempFolder) {
  std::unique_ptr<CabinetEngine> engine(new (std::nothrow)
                                            CabinetEngine(params, std::move(callbacks)));
  if (!engine) throw CabinetError(FCIERR_ALLOC_FAIL);
  engine->Guarded([&] {
    if (params.headerReserve > 60000 || params.folderReserve > 255 ||
        params.dataReserve > 255)
      engine->Fail(FCIERR_CAB_FORMAT_LIMIT);
    engine->cur_ = params;
    engine->spill_ = Spill::Create(tempFolder.empty() ? params.folder : tempFolder);
    if (!engine->spill_) engine->Fail(FCIERR_TEMP_FILE, errno);
    engine->readBuffer_.resize(kReadChunk);
    engine->StartCabinet(params, false);
  });
  return engine;
}

void CabinetEngine::Fail(int32_t code, int32_t system) {
  failure_.emplace(code, system);
  throw *failure_;
}

void CabinetEngine::Refuse(int32_t code, int32_t system) {
  refused_ = true;
  throw CabinetError(code, system);
}

// Runs one operation. Failures of the engine pass as they were raised; anything else
// thrown on the way (out of memory, a failing compressor or event handler) breaks the
// engine as a failure of the compressor.
template <class F>
void CabinetEngine::Guarded(F&& body) {
  if (failure_) throw *failure_;
  refused_ = false;
  try {
    body();
  } catch (const CabinetError&) {
    if (failure_ || refused_) throw;
    Fail(FCIERR_MCI_FAIL);
  } catch (const std::bad_alloc&) {
    Fail(FCIERR_ALLOC_FAIL, ENOMEM);
  } catch (const std::exception&) {
    Fail(FCIERR_MCI_FAIL);
  }
}

void CabinetEngine::AddFile(const std::string& source, const std::string& name, bool execute,
                            uint16_t typeCompress) {
  Guarded([&] { AddFileInner(source, name, execute, typeCompress); });
}

void CabinetEngine::FlushFolder() {
  Guarded([&] {
    if (!ended_) CloseFolder();
  });
}

void CabinetEngine::FlushCabinet(bool getNext) {
  Guarded([&] { FlushCabinetInner(getNext); });
}

uint64_t CabinetEngine::HeaderSize(uint64_t nextNamesLength) const {
  uint64_t n = CabHeader::kFixedSize + nextNamesLength;
  if (reserve_) n += CabHeader::kReserveFieldsSize + cur_.headerReserve;
  if (hasPrev_) n += prevCab_.size() + 1 + prevDisk_.size() + 1;
  return n;
}

uint32_t CabinetEngine::FolderEntrySize() const {
  return CabFolderEntry::kFixedSize + cur_.folderReserve;
}

uint32_t CabinetEngine::DataHeaderSize() const {
  return CabDataHeader::kFixedSize + cur_.dataReserve;
}

uint64_t CabinetEngine::Size(uint64_t nextNamesLength) const {
  return HeaderSize(nextNamesLength) + folders_.size() * FolderEntrySize() +
         entryBytes_ + spill_->size;
}

void CabinetEngine::AddFileInner(const std::string& source, const std::string& name,
                                 bool execute, uint16_t typeCompress) {
  // Checks that leave everything as it was.
  if (name.empty() || name.size() >= 256) Refuse(FCIERR_CAB_FORMAT_LIMIT);
  if (!ValidCompression(typeCompress)) Refuse(FCIERR_BAD_COMPR_TYPE);
  SourceFile src;
  if (!OpenSourceFile(source, src)) Refuse(FCIERR_OPEN_SRC, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{src.fd};
  if (src.size > kMaxFolderUncompressed) Refuse(FCIERR_CAB_FORMAT_LIMIT);

  if (ended_) {
    StartCabinet(AskNextCabinet(), false);
    CheckFreshCabinet();
  }
  const uint64_t entrySize = CabFileEntry::Size(name);
  uint64_t folderLimit = cur_.folderThreshold ? cur_.folderThreshold : kUnlimited;
  // Data still held by the compressor counts as stored data.
  bool newFolder = !folderOpen_ || folderType_ != typeCompress ||
                   folderCompressed_ + (fed_ - emittedUncomp_) >= folderLimit || fed_ + src.size > kMaxFolderUncompressed;
  if (folderOpen_ && newFolder) CloseFolder();

  // The entry must fit even if this cabinet later needs the longest next-cabinet names;
  // the data of the open folder does not count, it can move on to the next cabinet.
  auto need = [&] {
    uint64_t n = Size(kMaxNextNames) + entrySize + DataHeaderSize() + 1;
    if (newFolder) {
      n += FolderEntrySize();
    } else {
      for (const BlockRecord& b : lastBlocks_) n -= DataHeaderSize() + b.cbData;
    }
    return n;
  };
  if (entries_.size() >= kMaxCount || (newFolder && folders_.size() >= kMaxCount) ||
      need() > cur_.maxSize) {
    if (!entries_.empty() || !folders_.empty()) {
      FlushCabinetInner(true);
      newFolder = true;
    }
    if (need() > cur_.maxSize) Fail(FCIERR_CAB_FORMAT_LIMIT);
  }
  if (newFolder) OpenFolder(typeCompress);

  entries_.push_back(Entry{name, uint32_t(src.size), uint32_t(fed_), src.date, src.time,
                           uint16_t(src.attribs | (execute ? kAttrExecute : 0)), folderSerial_,
                           false});
  entryBytes_ += entrySize;
  continuedThisFile_ = false;

  uint64_t left = src.size;
  while (left > 0) {
    ssize_t r = ::read(src.fd, readBuffer_.data(), size_t(std::min<uint64_t>(left, kReadChunk)));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) Fail(FCIERR_READ_SRC, errno);
    if (r == 0) Fail(FCIERR_READ_SRC);  // the file became shorter while it was read
    fed_ += uint64_t(r);
    left -= uint64_t(r);
    compressor_->Write(readBuffer_.data(), size_t(r));
  }
  // A folder that went on into a new cabinet ends with the file that crossed over, so
  // that a reader starting at that cabinet never has to decode the folder's middle.
  if (continuedThisFile_) CloseFolder();
}

void CabinetEngine::OpenFolder(uint16_t type) {
  if (!compressor_ || compressorType_ != type) {
    compressor_.reset();
    BlockSink sink = [this](const uint8_t* p, size_t n, uint32_t u) { OnBlock(p, n, u); };
    if (type == tcompTYPE_NONE) {
      compressor_ = MakeStoredCompressor(std::move(sink));
    } else if (type == tcompTYPE_MSZIP) {
      compressor_ = MakeMsZipCompressor(std::move(sink));
    } else {
      compressor_ = MakeLzxCompressor(std::move(sink), (type >> 8) & 0x1F);
    }
    if (!compressor_) Fail(FCIERR_BAD_COMPR_TYPE);
    compressorType_ = type;
  }
  folderSerial_ = ++serials_;
  folders_.push_back(FolderPart{folderSerial_, type, false, spill_->size, 0});
  folderType_ = type;
  folderOpen_ = true;
  fed_ = 0;
  placedUncomp_ = 0;
  folderCompressed_ = 0;
  emittedUncomp_ = 0;
  lastBlocks_.clear();
}

void CabinetEngine::CloseFolder() {
  if (!folderOpen_) return;
  folderOpen_ = false;
  compressor_->Finish();
  uint32_t size = Clamp32(folderCompressed_);
  if (cb_.status && cb_.status(kStatusFolder, size, size) == -1) Fail(FCIERR_USER_ABORT);
}

void CabinetEngine::FlushCabinetInner(bool getNext) {
  if (ended_) {
    if (!getNext) return;
    StartCabinet(AskNextCabinet(), false);
    CheckFreshCabinet();
  }
  CloseFolder();
  if (getNext) {
    Cut({});
  } else {
    WriteCabinet(false, nullptr, false);
    ended_ = true;
  }
}

void CabinetEngine::OnBlock(const uint8_t* data, size_t size, uint32_t uncompressed) {
  if (size == 0 || size > kMaxBlockCompressed || uncompressed == 0 ||
      uncompressed > kMaxBlockUncompressed)
    Fail(FCIERR_MCI_FAIL);
  folderCompressed_ += size;
  emittedUncomp_ += uncompressed;
  if (cb_.status && cb_.status(kStatusFile, uint32_t(size), uncompressed) == -1)
    Fail(FCIERR_USER_ABORT);
  PlaceBlock(data, size, uncompressed);
}

void CabinetEngine::PlaceBlock(const uint8_t* data, size_t size, uint32_t uncompressed) {
  bool countFull = folders_.back().blocks >= kMaxCount;
  if (!countFull && Size(0) + DataHeaderSize() + size <= cur_.maxSize) {
    AppendBlock(data, size, uncompressed);
    return;
  }
  std::deque<Carried> carry;
  carry.push_back(Carried{std::vector<uint8_t>(data, data + size), uncompressed});
  Cut(std::move(carry));
}

void CabinetEngine::AppendBlock(const uint8_t* data, size_t size, uint32_t uncompressed) {
  CabDataHeader record;
  record.cbData = uint16_t(size);
  record.cbUncomp = uint16_t(uncompressed);
  record.csum = DataBlockChecksum(data, record.cbData, record.cbUncomp);
  std::vector<uint8_t> head;
  head.reserve(DataHeaderSize());
  record.Write(head, cur_.dataReserve);
  uint64_t offset = spill_->size;
  if (!spill_->Append(head.data(), head.size(), data, size)) Fail(FCIERR_TEMP_FILE, errno);
  lastBlocks_.push_back(BlockRecord{offset, uint32_t(size), uncompressed});
  folders_.back().blocks++;
  placedUncomp_ += uncompressed;
}

CabinetParams CabinetEngine::AskNextCabinet() {
  CabinetParams next = cur_;
  next.cabinetIndex = cur_.cabinetIndex + 1;
  uint32_t estimate = Clamp32(Size(0));
  if (!cb_.getNextCabinet) Fail(FCIERR_CAB_FILE, EINVAL);
  if (!cb_.getNextCabinet(next, estimate)) Fail(FCIERR_USER_ABORT);
  estimate_ = estimate;
  if (next.name.empty() || next.name.size() >= kMaxCabinetNameSize ||
      next.diskLabel.size() >= kMaxDiskNameSize)
    Fail(FCIERR_CAB_FORMAT_LIMIT);
  // A next cabinet under the name of the current one would overwrite it.
  if (JoinPath(next.folder, next.name) == JoinPath(cur_.folder, cur_.name))
    Fail(FCIERR_CAB_FILE, EEXIST);
  return next;
}

// Ends the current cabinet with a link to the next one. When the last folder has more
// data than fits, it continues in the next cabinet: whole blocks move on, and the first
// block that moves is split so that this cabinet is filled to its maximum size.
void CabinetEngine::Cut(std::deque<Carried> carry) {
  CabinetParams next = AskNextCabinet();
  const uint64_t names = next.name.size() + 1 + next.diskLabel.size() + 1;
  const uint32_t head = DataHeaderSize();
  // Move whole blocks of the last folder on until the cabinet, with its link to the next
  // one, fits and, when the folder continues, the first block that moves on can be split
  // here: readers expect every continued folder to end with a split block.
  for (;;) {
    if (Size(names) <= cur_.maxSize) {
      if (carry.empty()) break;
      uint64_t room = cur_.maxSize - Size(names);
      if (room >= head + 1 && folders_.back().blocks < kMaxCount && carry.front().data.size() > 1)
        break;
    }
    if (lastBlocks_.empty()) Fail(FCIERR_CAB_FORMAT_LIMIT);
    BlockRecord b = lastBlocks_.back();
    Carried c{std::vector<uint8_t>(b.cbData), b.cbUncomp};
    if (!spill_->ReadAt(b.offset + head, c.data.data(), b.cbData) || !spill_->Truncate(b.offset))
      Fail(FCIERR_TEMP_FILE, errno);
    lastBlocks_.pop_back();
    folders_.back().blocks--;
    placedUncomp_ -= b.cbUncomp;
    carry.push_front(std::move(c));
  }
  if (!carry.empty()) {
    // Fill the cabinet to its maximum size with the head of the first block that moves
    // on; the part here stands for no data, the rest in the next cabinet for all of it.
    Carried& first = carry.front();
    size_t part = size_t(std::min<uint64_t>(cur_.maxSize - Size(names) - head, first.data.size() - 1));
    AppendBlock(first.data.data(), part, 0);
    first.data.erase(first.data.begin(), first.data.begin() + ptrdiff_t(part));
  }
  const bool continues = !carry.empty();
  std::vector<Entry> goingOn;
  FolderPart continued{};
  if (continues) {
    continued = folders_.back();
    for (const Entry& e : entries_)
      if (e.folder == continued.serial && uint64_t(e.offset) + e.size > placedUncomp_) {
        goingOn.push_back(e);
        goingOn.back().fromPrev = true;
      }
  }
  WriteCabinet(true, &next, continues);
  StartCabinet(next, true);
  if (continues) {
    folders_.push_back(FolderPart{continued.serial, continued.type, true, 0, 0});
    for (Entry& e : goingOn) entryBytes_ += CabFileEntry::Size(e.name);
    entries_ = std::move(goingOn);
    if (folderOpen_) continuedThisFile_ = true;
  }
  CheckFreshCabinet();
  for (Carried& c : carry) PlaceBlock(c.data.data(), c.data.size(), c.uncomp);
}

void CabinetEngine::CheckFreshCabinet() {
  if (Size(kMaxNextNames) + DataHeaderSize() + 1 > cur_.maxSize) Fail(FCIERR_CAB_FORMAT_LIMIT);
}

void CabinetEngine::StartCabinet(const CabinetParams& record, bool linkPrevious) {
  CabinetParams r = record;
  if (linkPrevious) {
    prevCab_ = cur_.name;
    prevDisk_ = cur_.diskLabel;
  }
  hasPrev_ = linkPrevious;
  if (r.maxSize == 0) r.maxSize = kUnlimited;
  // The reserve sizes stay those the set was created with.
  r.headerReserve = cur_.headerReserve;
  r.folderReserve = cur_.folderReserve;
  r.dataReserve = cur_.dataReserve;
  if (r.name.empty() || r.name.size() >= kMaxCabinetNameSize ||
      r.diskLabel.size() >= kMaxDiskNameSize)
    Fail(FCIERR_CAB_FORMAT_LIMIT);
  cur_ = r;
  params_ = r;
  reserve_ = cur_.headerReserve || cur_.folderReserve || cur_.dataReserve;
  folders_.clear();
  entries_.clear();
  entryBytes_ = 0;
  lastBlocks_.clear();
  estimate_ = 0;
  ended_ = false;
  if (!spill_->Truncate(0)) Fail(FCIERR_TEMP_FILE, errno);
}

void CabinetEngine::WriteCabinet(bool hasNext, const CabinetParams* next, bool lastFolderContinues) {
  const uint64_t names = hasNext ? next->name.size() + 1 + next->diskLabel.size() + 1 : 0;
  const uint64_t total = Size(names);
  if (total > 0xFFFFFFFFu) Fail(FCIERR_CAB_FORMAT_LIMIT);
  const uint64_t folderTable = HeaderSize(names);
  const uint64_t fileTable = folderTable + folders_.size() * FolderEntrySize();
  const uint64_t dataStart = fileTable + entryBytes_;

  std::vector<uint8_t> b;
  b.reserve(size_t(dataStart));
  CabHeader header;
  header.cbCabinet = uint32_t(total);
  header.coffFiles = uint32_t(fileTable);
  header.cFolders = uint16_t(folders_.size());
  header.cFiles = uint16_t(entries_.size());
  header.flags = uint16_t((hasPrev_ ? cfhdrPREV_CABINET : 0) | (hasNext ? cfhdrNEXT_CABINET : 0) |
                          (reserve_ ? cfhdrRESERVE_PRESENT : 0));
  header.setID = cur_.setId;
  header.iCabinet = uint16_t(cur_.cabinetIndex);
  header.cbCFHeader = uint16_t(cur_.headerReserve);
  header.cbCFFolder = uint8_t(cur_.folderReserve);
  header.cbCFData = uint8_t(cur_.dataReserve);
  if (hasPrev_) {
    header.szCabinetPrev = prevCab_;
    header.szDiskPrev = prevDisk_;
  }
  if (hasNext) {
    header.szCabinetNext = next->name;
    header.szDiskNext = next->diskLabel;
  }
  header.Write(b);
  for (const FolderPart& f : folders_) {
    CabFolderEntry folder;
    folder.coffCabStart = uint32_t(dataStart + f.spillStart);
    folder.cCFData = uint16_t(f.blocks);
    folder.typeCompress = f.type;
    folder.Write(b, cur_.folderReserve);
  }
  const uint64_t lastSerial = folders_.empty() ? 0 : folders_.back().serial;
  for (const Entry& e : entries_) {
    uint16_t index = 0;
    while (index < folders_.size() && folders_[index].serial != e.folder) ++index;
    bool toNext = lastFolderContinues && e.folder == lastSerial &&
                  uint64_t(e.offset) + e.size > placedUncomp_;
    if (e.fromPrev && toNext) {
      index = ifoldCONTINUED_PREV_AND_NEXT;
    } else if (e.fromPrev) {
      index = ifoldCONTINUED_FROM_PREV;
    } else if (toNext) {
      index = ifoldCONTINUED_TO_NEXT;
    }
    CabFileEntry file;
    file.cbFile = e.size;
    file.uoffFolderStart = e.offset;
    file.iFolder = index;
    file.date = e.date;
    file.time = e.time;
    file.attribs = e.attribs;
    file.szName = e.name;
    file.Write(b);
  }

  if (cb_.filePlaced)
    for (const Entry& e : entries_)
      if (cb_.filePlaced(cur_, e.name, e.size, e.fromPrev) == -1) Fail(FCIERR_USER_ABORT);

  const std::string path = JoinPath(cur_.folder, cur_.name);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail(FCIERR_CAB_FILE, errno);
  bool ok = WriteAll(fd, b.data(), b.size());
  std::vector<uint8_t> chunk(std::min<uint64_t>(spill_->size, 1 << 20));
  for (uint64_t pos = 0; ok && pos < spill_->size;) {
    size_t n = size_t(std::min<uint64_t>(chunk.size(), spill_->size - pos));
    ok = spill_->ReadAt(pos, chunk.data(), n) && WriteAll(fd, chunk.data(), n);
    pos += n;
  }
  int err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(path.c_str());  // no half-written cabinet stays behind
    Fail(FCIERR_CAB_FILE, err);
  }
  if (cb_.status &&
      cb_.status(kStatusCabinet, estimate_ ? estimate_ : uint32_t(total), uint32_t(total)) == -1)
    Fail(FCIERR_USER_ABORT);
}

}  // namespace bvq::cab
