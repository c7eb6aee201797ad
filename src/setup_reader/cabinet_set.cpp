#include "setup_reader/cabinet_set.h"

#include <mspack.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

namespace bvq {

namespace {

constexpr char kSignature[4] = {'M', 'S', 'C', 'F'};

// A file as libmspack sees it: a cabinet being read, or the sink of an extraction.
struct OpenFile {
  const CabinetBytes* cabinet = nullptr;  // read: the bytes after the signature
  uint64_t position = 0;                  // read position in the cabinet with its signature
  const CabinetSink* sink = nullptr;      // write
};

std::string ErrorText(int code) {
  switch (code) {
    case MSPACK_ERR_OPEN: return "cannot be opened";
    case MSPACK_ERR_READ: return "ends early";
    case MSPACK_ERR_WRITE: return "could not be written out";
    case MSPACK_ERR_SEEK: return "ends early";
    case MSPACK_ERR_NOMEMORY: return "needs more memory than there is";
    case MSPACK_ERR_SIGNATURE: return "is not a cabinet";
    case MSPACK_ERR_DATAFORMAT: return "has a damaged header";
    case MSPACK_ERR_CHECKSUM: return "has a data block whose checksum does not match";
    case MSPACK_ERR_DECRUNCH: return "has compressed data that does not decode";
    default: return "cannot be read (error " + std::to_string(code) + ")";
  }
}

}  // namespace

struct CabinetSet::System {
  mspack_system base{};  // first, so libmspack's pointer is this object's
  std::vector<CabinetBytes> cabinets;
  std::map<std::string, const CabinetSink*> sinks;
  std::deque<std::string> names;  // libmspack keeps the name pointers it was opened with
  mscab_decompressor* decompressor = nullptr;
  mscabd_cabinet* first = nullptr;

  static System* Of(mspack_system* s) { return reinterpret_cast<System*>(s); }

  static mspack_file* Open(mspack_system* self, const char* name, int mode) {
    System* sys = Of(self);
    auto* f = new OpenFile;
    if (mode == MSPACK_SYS_OPEN_READ) {
      // Cabinet names are their index in decimal.
      char* end = nullptr;
      const unsigned long index = std::strtoul(name, &end, 10);
      if (*name && *end == '\0' && index < sys->cabinets.size()) {
        f->cabinet = &sys->cabinets[index];
        return reinterpret_cast<mspack_file*>(f);
      }
    } else if (mode == MSPACK_SYS_OPEN_WRITE) {
      if (auto it = sys->sinks.find(name); it != sys->sinks.end()) {
        f->sink = it->second;
        return reinterpret_cast<mspack_file*>(f);
      }
    }
    delete f;
    return nullptr;
  }
  static void Close(mspack_file* file) { delete reinterpret_cast<OpenFile*>(file); }
  static int Read(mspack_file* file, void* buffer, int bytes) {
    auto* f = reinterpret_cast<OpenFile*>(file);
    if (!f->cabinet || bytes < 0) return -1;
    const uint64_t total = f->cabinet->size + sizeof kSignature;
    if (f->position >= total) return 0;
    size_t want = static_cast<size_t>(std::min<uint64_t>(uint64_t(bytes), total - f->position));
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < want && f->position < sizeof kSignature) out[done++] = kSignature[f->position++];
    if (done < want) {
      if (!f->cabinet->read(f->position - sizeof kSignature, out + done, want - done)) return -1;
      f->position += want - done;
    }
    return static_cast<int>(want);
  }
  static int Write(mspack_file* file, void* buffer, int bytes) {
    auto* f = reinterpret_cast<OpenFile*>(file);
    if (!f->sink || bytes < 0) return -1;
    return (*f->sink)(static_cast<const char*>(buffer), static_cast<size_t>(bytes)) ? bytes : -1;
  }
  static int Seek(mspack_file* file, off_t offset, int mode) {
    auto* f = reinterpret_cast<OpenFile*>(file);
    if (!f->cabinet) return -1;
    const int64_t total = static_cast<int64_t>(f->cabinet->size + sizeof kSignature);
    int64_t to = offset;
    if (mode == MSPACK_SYS_SEEK_CUR) to += static_cast<int64_t>(f->position);
    else if (mode == MSPACK_SYS_SEEK_END) to += total;
    if (to < 0 || to > total) return -1;
    f->position = static_cast<uint64_t>(to);
    return 0;
  }
  static off_t Tell(mspack_file* file) { return static_cast<off_t>(reinterpret_cast<OpenFile*>(file)->position); }
  static void Message(mspack_file*, const char*, ...) {}
  static void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
  static void Free(void* p) { std::free(p); }
  static void Copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

  System() {
    base.open = Open;
    base.close = Close;
    base.read = Read;
    base.write = Write;
    base.seek = Seek;
    base.tell = Tell;
    base.message = Message;
    base.alloc = Alloc;
    base.free = Free;
    base.copy = Copy;
    base.null_ptr = nullptr;
  }
  ~System() {
    if (decompressor) {
      // Closing the first cabinet of a set closes the ones appended to it as well.
      if (first) decompressor->close(decompressor, first);
      mspack_destroy_cab_decompressor(decompressor);
    }
  }
};

CabinetSet::CabinetSet() : system_(std::make_unique<System>()) {}
CabinetSet::~CabinetSet() = default;

std::string CabinetSet::Open(std::vector<CabinetBytes> cabinets) {
  System& sys = *system_;
  sys.cabinets = std::move(cabinets);
  if (sys.cabinets.empty()) return "there is no cabinet";
  // A single cabinet without files (a build with nothing to put in it) is valid but refused
  // by the decoder: its header's folder and file counts (offsets 26 and 28, 22 and 24 without
  // the signature) say so.
  unsigned char counts[4];
  if (sys.cabinets.size() == 1 && sys.cabinets[0].size >= 26 && sys.cabinets[0].read(22, counts, 4) &&
      counts[2] == 0 && counts[3] == 0)
    return "";
  sys.decompressor = mspack_create_cab_decompressor(&sys.base);
  if (!sys.decompressor) return "the cabinet decoder cannot be started";
  mscabd_cabinet* last = nullptr;
  for (size_t i = 0; i < sys.cabinets.size(); ++i) {
    const std::string& name = sys.names.emplace_back(std::to_string(i));
    mscabd_cabinet* cab = sys.decompressor->open(sys.decompressor, const_cast<char*>(name.c_str()));
    if (!cab) return "cabinet " + name + " " + ErrorText(sys.decompressor->last_error(sys.decompressor));
    if (!last) {
      sys.first = last = cab;
      continue;
    }
    if (sys.decompressor->append(sys.decompressor, last, cab) != MSPACK_ERR_OK) {
      const int code = sys.decompressor->last_error(sys.decompressor);
      sys.decompressor->close(sys.decompressor, cab);
      return "cabinet " + name + " does not continue cabinet " + std::to_string(i - 1) + " (" + ErrorText(code) + ")";
    }
    last = cab;
  }
  for (mscabd_file* f = sys.first->files; f; f = f->next) {
    CabinetEntry e;
    e.name = f->filename ? f->filename : "";
    e.size = f->length;
    e.year = f->date_y, e.month = f->date_m, e.day = f->date_d;
    e.hour = f->time_h, e.minute = f->time_m, e.second = f->time_s;
    e.attributes = f->attribs;
    e.compression = f->folder ? (f->folder->comp_type & 0x0F) : 0;
    entries_.push_back(e);
    files_.push_back(f);
  }
  return "";
}

std::string CabinetSet::Extract(size_t index, const CabinetSink& sink) {
  System& sys = *system_;
  if (index >= files_.size()) return "no such cabinet entry";
  const std::string name = "out:" + std::to_string(index);
  sys.sinks[name] = &sink;
  auto* file = static_cast<mscabd_file*>(const_cast<void*>(files_[index]));
  const int result = sys.decompressor->extract(sys.decompressor, file, const_cast<char*>(name.c_str()));
  sys.sinks.erase(name);
  return result == MSPACK_ERR_OK ? "" : ErrorText(result);
}

}  // namespace bvq
