#pragma once
// Editing the resource section of a 32-bit PE file in place: the section is parsed into a
// tree of ResourceNode objects over a memory-mapped view of the file, edited in memory, and
// written back as a completely rebuilt section; what follows the section (later sections,
// appended data) moves with it and the headers, data directories, debug directory and
// checksum are fixed. Functions return true/false and leave errno set on failure.
#include <cstdint>
#include <string>
#include <vector>

#include "resedit/res_name.h"

namespace bvq {

// Leaves up to this size keep their new bytes in memory; larger ones in a temporary file.
constexpr uint32_t kResInMemoryLimit = 32768;

// One node of the resource tree: a directory (type, name level) or a data leaf (language).
struct ResourceNode {
  uint32_t Id = 0;            // number of an unnamed entry
  std::u16string Name;        // name of a named entry; empty for numbered entries
  ResourceNode* FirstChild = nullptr;
  ResourceNode* Next = nullptr;
  std::vector<uint8_t> Data;  // bytes of a new or replaced leaf of at most kResInMemoryLimit
  bool IsDirectory = false;
  // Directory: copied from and written to the directory header. The counts always equal the
  // number of named and of numbered children.
  uint32_t Characteristics = 0;
  uint32_t TimeDateStamp = 0;
  uint16_t MajorVersion = 0;
  uint16_t MinorVersion = 0;
  uint32_t NamedCount = 0;
  uint32_t IdCount = 0;
  // Leaf: SourceData points at the bytes inside the view as the file was opened (null for new
  // data); TempFile is an open, already unlinked temporary file holding new bytes larger than
  // kResInMemoryLimit (-1 when none).
  const uint8_t* SourceData = nullptr;
  uint32_t Size = 0;
  int TempFile = -1;
  uint32_t CodePage = 0;
  uint32_t Reserved = 0;
};

// An open update; created by BeginResourceUpdate, released by EndResourceUpdate.
struct ResourceUpdate;

// Process-wide: while true, a language lookup takes the first leaf under a name whatever its
// language. Set only around the save step of ExtractIconGroupToIco.
extern bool AnyLanguage;

// Opens `fileName` (an existing 32-bit PE file with a resource section) exclusively and maps it.
// With `deleteExisting` the tree starts empty. Returns null on failure, the file untouched:
// errno ENOENT for a PE file without a resource section, ENOEXEC for a file that is not a
// well-formed 32-bit PE file (truncated, PE32+, resource tree outside its section, loops,
// counts that do not fit), or the error of opening the file.
ResourceUpdate* BeginResourceUpdate(const std::string& fileName, bool deleteExisting);

// Adds or replaces the resource (with data, `data` not null) or deletes it (`data` null).
bool UpdateResourceEntry(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language,
                         const void* data, uint32_t size);

// True when the resource exists; `data` receives the address of its bytes as they were when
// the file was opened (null for bytes stored during the update) and `size` their size.
bool FindResourceEntry(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language,
                       const void** data, uint32_t* size);

// Without `discard` the rebuilt section is written into the file; in both cases the handle
// is released. True when the section was written (or discarded). A write-back that fails
// leaves the file unchanged.
bool EndResourceUpdate(ResourceUpdate* update, bool discard);

// The root directory of the tree (for inspection).
const ResourceNode* ResourceRoot(const ResourceUpdate* update);

// The bytes of a leaf wherever they are held (view, memory or temporary file).
bool ReadLeafBytes(const ResourceNode& leaf, std::vector<uint8_t>& bytes);

}  // namespace bvq
