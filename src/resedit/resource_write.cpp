// Writing a rebuilt resource section back into the file.
//
// Order of work, so that a failure before the section is copied leaves the file as it was:
// measure the tree and build the new content in a temporary file (reading the old bytes while
// the view still shows them); reserve the space a growing file needs; only then move the tail,
// fix the headers and copy the content in. A shrinking file is cut last.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "resedit/resource_tree_internal.h"
#include "resedit/temp_file.h"

namespace bvq::resedit {

namespace {

// Largest section content handled: offsets in the tree are 31-bit.
constexpr uint64_t kMaxContent = 0x7FFFFFFF;

struct Measure {
  uint64_t directories = 0;  // D: headers, entries and data entries
  uint64_t names = 0;        // N
  uint64_t data = 0;         // B
  bool countsFit = true;     // every directory's counts fit their 16-bit fields
};

void MeasureTree(const ResourceNode* dir, Measure& m) {
  uint32_t children = 0;
  if (dir->NamedCount > 0xFFFF || dir->IdCount > 0xFFFF) m.countsFit = false;
  for (const ResourceNode* c = dir->FirstChild; c; c = c->Next) {
    ++children;
    if (!c->Name.empty()) m.names += 2 * c->Name.size() + 2;
    if (c->IsDirectory) {
      MeasureTree(c, m);
    } else {
      m.directories += 16;
      m.data += AlignUp(c->Size, 4);
    }
  }
  m.directories += 16 + 8ull * children;
}

class ContentWriter {
 public:
  ContentWriter(uint8_t* out, uint32_t namesStart, uint32_t dataStart, uint32_t sectionVa)
      : out_(out), namePos_(namesStart), dataPos_(dataStart), va_(sectionVa) {}

  // Directories and data entries in depth-first pre-order from offset 0; names and leaf bytes
  // in the same order from their own starts.
  bool WriteDirectory(const ResourceNode* dir) {
    uint8_t* p = out_ + dirPos_;
    Wr32(p, dir->Characteristics);
    Wr32(p + 4, dir->TimeDateStamp);
    Wr16(p + 8, dir->MajorVersion);
    Wr16(p + 10, dir->MinorVersion);
    Wr16(p + 12, static_cast<uint16_t>(dir->NamedCount));
    Wr16(p + 14, static_cast<uint16_t>(dir->IdCount));
    uint32_t entry = dirPos_ + 16;
    for (const ResourceNode* c = dir->FirstChild; c; c = c->Next) dirPos_ += 8;
    dirPos_ += 16;
    for (const ResourceNode* c = dir->FirstChild; c; c = c->Next, entry += 8) {
      if (c->Name.empty()) {
        Wr32(out_ + entry, c->Id);
      } else {
        Wr32(out_ + entry, 0x80000000u | namePos_);
        Wr16(out_ + namePos_, static_cast<uint16_t>(c->Name.size()));
        for (size_t k = 0; k < c->Name.size(); ++k) Wr16(out_ + namePos_ + 2 + 2 * k, c->Name[k]);
        namePos_ += static_cast<uint32_t>(2 * c->Name.size() + 2);
      }
      if (c->IsDirectory) {
        Wr32(out_ + entry + 4, 0x80000000u | dirPos_);
        if (!WriteDirectory(c)) return false;
      } else {
        Wr32(out_ + entry + 4, dirPos_);
        if (!WriteLeaf(c)) return false;
      }
    }
    return true;
  }

 private:
  bool WriteLeaf(const ResourceNode* leaf) {
    uint8_t* d = out_ + dirPos_;
    dirPos_ += 16;
    Wr32(d, dataPos_ + va_);
    Wr32(d + 4, leaf->Size);
    Wr32(d + 8, leaf->CodePage);
    Wr32(d + 12, leaf->Reserved);
    if (leaf->SourceData) {
      std::memcpy(out_ + dataPos_, leaf->SourceData, leaf->Size);
    } else if (leaf->TempFile >= 0) {
      if (!ReadAllAt(leaf->TempFile, out_ + dataPos_, leaf->Size, 0)) return false;
    } else if (leaf->Size) {
      std::memcpy(out_ + dataPos_, leaf->Data.data(), leaf->Size);
    }
    dataPos_ += static_cast<uint32_t>(AlignUp(leaf->Size, 4));
    return true;
  }

  uint8_t* out_;
  uint32_t dirPos_ = 0;
  uint32_t namePos_;
  uint32_t dataPos_;
  uint32_t va_;
};

// The new section content in a mapped, unlinked temporary file.
struct Content {
  int fd = -1;
  uint8_t* bytes = nullptr;
  size_t size = 0;
  ~Content() {
    if (bytes) munmap(bytes, size);
    if (fd >= 0) close(fd);
  }
};

bool BuildContent(ResourceUpdate* u, Content& c) {
  Measure m;
  MeasureTree(u->root, m);
  const uint64_t headerPart = AlignUp(m.directories + m.names, 4);
  const uint64_t total = headerPart + m.data;
  if (total > kMaxContent || !m.countsFit) {
    errno = EFBIG;
    return false;
  }
  c.size = static_cast<size_t>(total);
  c.fd = CreateAnonymousTempFile("$wex$sec$");
  if (c.fd < 0) return false;
  // Reserve real blocks: writing through a mapping of a sparse file could fault on a full disk.
  if (int e = posix_fallocate(c.fd, 0, static_cast<off_t>(c.size)); e != 0) {
    errno = e;
    return false;
  }
  void* p = mmap(nullptr, c.size, PROT_READ | PROT_WRITE, MAP_SHARED, c.fd, 0);
  if (p == MAP_FAILED) return false;
  c.bytes = static_cast<uint8_t*>(p);
  ContentWriter writer(c.bytes, static_cast<uint32_t>(m.directories), static_cast<uint32_t>(headerPart),
                       SectionField(u, pe::kSecVirtualAddress));
  return writer.WriteDirectory(u->root);
}

void Add32(uint8_t* p, int64_t delta) { Wr32(p, static_cast<uint32_t>(Rd32(p) + static_cast<uint32_t>(delta))); }

// Fixes everything that points at or past the moved tail (old raw end `tailStart`, raw growth
// r) or at virtual addresses after the resource section (virtual growth v).
void FixHeaders(ResourceUpdate* u, uint64_t tailStart, int64_t r, int64_t v, uint32_t rsrcVa) {
  uint8_t* view = u->view;
  const PeLayout& L = u->layout;
  auto movesWithTail = [&](uint32_t fileOffset) { return fileOffset != 0 && fileOffset >= tailStart; };

  Add32(view + L.optHeader + pe::kOptSizeOfInitializedData, r);
  Add32(view + L.optHeader + pe::kOptSizeOfImage, v);
  if (uint8_t* symbols = view + L.fileHeader + pe::kFhPointerToSymbolTable; movesWithTail(Rd32(symbols)))
    Add32(symbols, r);

  for (uint32_t i = 0; i < L.numSections; ++i) {
    if (static_cast<int>(i) == L.resourceSection) continue;
    uint8_t* s = view + L.Section(i);
    if (Rd32(s + pe::kSecVirtualAddress) > rsrcVa) Add32(s + pe::kSecVirtualAddress, v);
    for (uint32_t field : {pe::kSecPointerToRawData, pe::kSecPointerToRelocations, pe::kSecPointerToLinenumbers}) {
      if (movesWithTail(Rd32(s + field))) Add32(s + field, r);
    }
  }

  for (uint32_t i = 0; i < L.numDirectories; ++i) {
    uint8_t* d = view + L.Directory(i);
    // The certificate table is addressed by file offset, every other directory by address.
    if (i == pe::kDirSecurity) {
      if (movesWithTail(Rd32(d))) Add32(d, r);
    } else if (i != pe::kDirResource && Rd32(d) > rsrcVa) {
      Add32(d, v);
    }
  }

  if (L.numDirectories <= pe::kDirDebug) return;
  const uint32_t debugVa = Rd32(view + L.Directory(pe::kDirDebug));
  const uint32_t debugSize = Rd32(view + L.Directory(pe::kDirDebug) + 4);
  if (debugSize == 0) return;
  for (uint32_t i = 0; i < L.numSections; ++i) {
    const uint8_t* s = view + L.Section(i);
    const uint32_t va = Rd32(s + pe::kSecVirtualAddress);
    const uint32_t raw = Rd32(s + pe::kSecSizeOfRawData);
    uint32_t extent = Rd32(s + pe::kSecVirtualSize);
    if (extent == 0) extent = raw;
    if (debugVa < va || debugVa - va >= extent) continue;
    // Some linkers store the number of entries instead of the size in bytes.
    const uint32_t count = debugSize % pe::kDebugEntrySize == 0 ? debugSize / pe::kDebugEntrySize : debugSize;
    const uint64_t sectionEnd = uint64_t{Rd32(s + pe::kSecPointerToRawData)} + raw;
    uint64_t entry = uint64_t{Rd32(s + pe::kSecPointerToRawData)} + (debugVa - va);
    for (uint32_t k = 0; k < count; ++k, entry += pe::kDebugEntrySize) {
      if (entry + pe::kDebugEntrySize > sectionEnd || entry + pe::kDebugEntrySize > u->viewSize) break;
      uint8_t* e = view + entry;
      if (movesWithTail(Rd32(e + pe::kDebugPointerToRawData))) Add32(e + pe::kDebugPointerToRawData, r);
      const uint32_t address = Rd32(e + pe::kDebugAddressOfRawData);
      if (address != 0 && address > rsrcVa) Add32(e + pe::kDebugAddressOfRawData, v);
    }
    break;
  }
}

}  // namespace

bool WriteBack(ResourceUpdate* u) {
  // The file is held exclusively; its headers are as they were checked when it was opened.
  const PeLayout& L = u->layout;
  uint8_t* const section = u->view + L.Section(static_cast<uint32_t>(L.resourceSection));
  const uint32_t rsrcVa = Rd32(section + pe::kSecVirtualAddress);
  const uint64_t rawStart = Rd32(section + pe::kSecPointerToRawData);
  const uint64_t oldRaw = Rd32(section + pe::kSecSizeOfRawData);
  const uint64_t tailStart = rawStart + oldRaw;
  const uint64_t oldSize = u->viewSize;

  Content content;
  if (!BuildContent(u, content)) return false;
  const uint64_t newRaw = AlignUp(content.size, L.fileAlignment);
  const int64_t r = static_cast<int64_t>(newRaw) - static_cast<int64_t>(oldRaw);
  const uint64_t newSize = oldSize + r;
  if (newSize > 0xFFFFFFFFull || newRaw > 0xFFFFFFFFull) {
    errno = EFBIG;
    return false;
  }
  // Virtual extent of the old section: what the following sections' addresses were laid out by.
  uint64_t oldExtent = Rd32(section + pe::kSecVirtualSize);
  if (oldExtent == 0) oldExtent = oldRaw;
  const int64_t v = static_cast<int64_t>(AlignUp(content.size, L.sectionAlignment)) -
                    static_cast<int64_t>(AlignUp(oldExtent, L.sectionAlignment));

  if (r > 0) {
    if (int e = posix_fallocate(u->fd, static_cast<off_t>(oldSize), static_cast<off_t>(r)); e != 0) {
      if (ftruncate(u->fd, static_cast<off_t>(oldSize)) != 0) { /* already failing */ }
      errno = e;
      return false;
    }
    void* view = mremap(u->view, u->viewSize, newSize, MREMAP_MAYMOVE);
    if (view == MAP_FAILED) {
      const int e = errno;
      if (ftruncate(u->fd, static_cast<off_t>(oldSize)) != 0) { /* already failing */ }
      errno = e;
      return false;
    }
    u->view = static_cast<uint8_t*>(view);
    u->viewSize = newSize;
  }
  // From here on only memory is written, until a shrinking file is cut.
  if (r != 0) std::memmove(u->view + tailStart + r, u->view + tailStart, oldSize - tailStart);

  uint8_t* const sec = u->view + L.Section(static_cast<uint32_t>(L.resourceSection));
  FixHeaders(u, tailStart, r, v, rsrcVa);
  Wr32(sec + pe::kSecSizeOfRawData, static_cast<uint32_t>(newRaw));
  Wr32(sec + pe::kSecVirtualSize, static_cast<uint32_t>(content.size));
  Wr32(u->view + L.Directory(pe::kDirResource) + 4, static_cast<uint32_t>(content.size));

  std::memcpy(u->view + rawStart, content.bytes, content.size);
  std::memset(u->view + rawStart + content.size, 0, newRaw - content.size);

  if (r < 0) {
    if (ftruncate(u->fd, static_cast<off_t>(newSize)) != 0) return false;
    void* view = mremap(u->view, u->viewSize, newSize, 0);
    if (view != MAP_FAILED) {
      u->view = static_cast<uint8_t*>(view);
      u->viewSize = newSize;
    }
  }
  const uint32_t checkSumOffset = L.optHeader + pe::kOptCheckSum;
  Wr32(u->view + checkSumOffset, PeChecksum(u->view, newSize, checkSumOffset));
  return true;
}

}  // namespace bvq::resedit
