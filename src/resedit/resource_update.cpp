#include "resedit/resource_update.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "resedit/resource_tree_internal.h"
#include "resedit/temp_file.h"

namespace bvq {

bool AnyLanguage = false;

namespace resedit {
bool WriteBack(ResourceUpdate* update);  // resource_write.cpp
}  // namespace resedit

using namespace resedit;

namespace {

// Real trees have three levels below the root; deeper ones are refused rather than followed.
constexpr int kMaxDepth = 16;

ResourceNode* NewNode(ResourceUpdate* u) {
  u->nodes.push_back(std::make_unique<ResourceNode>());
  return u->nodes.back().get();
}

void ReleaseLeafStorage(ResourceNode* node) {
  if (node->TempFile >= 0) close(node->TempFile);
  node->TempFile = -1;
  std::vector<uint8_t>().swap(node->Data);
}

void ReleaseSubtree(ResourceNode* node) {
  std::vector<ResourceNode*> stack{node};
  while (!stack.empty()) {
    ResourceNode* n = stack.back();
    stack.pop_back();
    ReleaseLeafStorage(n);
    for (ResourceNode* c = n->FirstChild; c; c = c->Next) stack.push_back(c);
  }
}

void Release(ResourceUpdate* u) {
  for (auto& n : u->nodes) ReleaseLeafStorage(n.get());
  if (u->view) munmap(u->view, u->viewSize);
  if (u->fd >= 0) close(u->fd);  // also drops the lock
  delete u;
}

// Parses the resource tree from the section's raw data.
class TreeParser {
 public:
  TreeParser(ResourceUpdate* u, const uint8_t* section, uint32_t size, uint32_t va)
      : u_(u), sec_(section), size_(size), va_(va) {}

  bool ParseDirectory(uint32_t offset, ResourceNode* dir, int depth) {
    if (depth > kMaxDepth || offset > size_ || size_ - offset < 16) return false;
    if (!visited_.insert(offset).second) return false;  // a loop, or a directory used twice
    const uint8_t* p = sec_ + offset;
    dir->IsDirectory = true;
    dir->Characteristics = Rd32(p);
    dir->TimeDateStamp = Rd32(p + 4);
    dir->MajorVersion = Rd16(p + 8);
    dir->MinorVersion = Rd16(p + 10);
    const uint32_t count = uint32_t{Rd16(p + 12)} + Rd16(p + 14);
    if ((size_ - offset - 16) / 8 < count) return false;
    ResourceNode* last = nullptr;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = p + 16 + 8 * i;
      const uint32_t nameField = Rd32(e);
      const uint32_t dataField = Rd32(e + 4);
      ResourceNode* child = NewNode(u_);
      if (nameField & 0x80000000u) {
        if (!ReadName(nameField & 0x7FFFFFFFu, child->Name)) return false;
      } else {
        child->Id = nameField;
      }
      if (dataField & 0x80000000u) {
        if (!ParseDirectory(dataField & 0x7FFFFFFFu, child, depth + 1)) return false;
      } else if (!ParseLeaf(dataField, child)) {
        return false;
      }
      (child->Name.empty() ? dir->IdCount : dir->NamedCount)++;
      (last ? last->Next : dir->FirstChild) = child;
      last = child;
    }
    return true;
  }

 private:
  bool ReadName(uint32_t offset, std::u16string& name) {
    if (offset > size_ || size_ - offset < 2) return false;
    const uint32_t len = Rd16(sec_ + offset);
    if (len == 0 || (size_ - offset - 2) / 2 < len) return false;
    name.resize(len);
    for (uint32_t k = 0; k < len; ++k) name[k] = static_cast<char16_t>(Rd16(sec_ + offset + 2 + 2 * k));
    return true;
  }

  bool ParseLeaf(uint32_t offset, ResourceNode* leaf) {
    if (offset > size_ || size_ - offset < 16) return false;
    const uint8_t* d = sec_ + offset;
    const uint32_t rva = Rd32(d);
    leaf->Size = Rd32(d + 4);
    leaf->CodePage = Rd32(d + 8);
    leaf->Reserved = Rd32(d + 12);
    if (rva < va_ || rva - va_ > size_ || size_ - (rva - va_) < leaf->Size) return false;
    leaf->SourceData = sec_ + (rva - va_);
    return true;
  }

  ResourceUpdate* u_;
  const uint8_t* sec_;
  uint32_t size_;
  uint32_t va_;
  std::unordered_set<uint32_t> visited_;
};

ResourceUpdate* Open(const std::string& fileName, bool deleteExisting, bool readOnly) {
  auto* u = new ResourceUpdate;
  u->readOnly = readOnly;
  int error = 0;
  do {
    u->fd = open(fileName.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NOCTTY);
    if (u->fd < 0) {
      error = errno;
      break;
    }
    struct stat st {};
    if (fstat(u->fd, &st) != 0) {
      error = errno;
      break;
    }
    if (!S_ISREG(st.st_mode)) {
      error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      break;
    }
    // No sharing while the file is being edited.
    if (!readOnly && flock(u->fd, LOCK_EX | LOCK_NB) != 0) {
      error = errno == EWOULDBLOCK ? EBUSY : errno;
      break;
    }
    if (st.st_size <= 0 || st.st_size > 0xFFFFFFFFll) {
      error = ENOEXEC;
      break;
    }
    u->viewSize = static_cast<size_t>(st.st_size);
    void* view = mmap(nullptr, u->viewSize, readOnly ? PROT_READ : PROT_READ | PROT_WRITE,
                      readOnly ? MAP_PRIVATE : MAP_SHARED, u->fd, 0);
    if (view == MAP_FAILED) {
      error = errno;
      break;
    }
    u->view = static_cast<uint8_t*>(view);
    const PeCheck check = ReadPeLayout(u->view, u->viewSize, u->layout);
    if (check != PeCheck::Ok) {
      error = check == PeCheck::NoResources ? ENOENT : ENOEXEC;
      break;
    }
    u->root = NewNode(u);
    u->root->IsDirectory = true;
    if (!deleteExisting) {
      const uint32_t raw = SectionField(u, pe::kSecPointerToRawData);
      TreeParser parser(u, u->view + raw, SectionField(u, pe::kSecSizeOfRawData),
                        SectionField(u, pe::kSecVirtualAddress));
      if (!parser.ParseDirectory(0, u->root, 0)) {
        error = ENOEXEC;
        break;
      }
    }
    return u;
  } while (false);
  Release(u);
  errno = error;
  return nullptr;
}

bool MatchesKey(const ResourceNode& node, const ResName& key) {
  return key.IsId() ? node.Name.empty() && node.Id == key.Id() : node.Name == key.Name();
}

// Negative when a sorts before b: named entries by name, then numbered ones by id.
int Order(const ResourceNode& a, const ResourceNode& b) {
  const bool an = !a.Name.empty(), bn = !b.Name.empty();
  if (an != bn) return an ? -1 : 1;
  if (an) return a.Name.compare(b.Name);
  return a.Id < b.Id ? -1 : (a.Id > b.Id ? 1 : 0);
}

void Insert(ResourceNode* parent, ResourceNode* node) {
  ResourceNode* prev = nullptr;
  ResourceNode* cur = parent->FirstChild;
  while (cur && Order(*cur, *node) < 0) prev = cur, cur = cur->Next;
  node->Next = cur;
  (prev ? prev->Next : parent->FirstChild) = node;
  (node->Name.empty() ? parent->IdCount : parent->NamedCount)++;
}

void Remove(ResourceNode* parent, ResourceNode* node) {
  ResourceNode* prev = nullptr;
  for (ResourceNode* cur = parent->FirstChild; cur; prev = cur, cur = cur->Next) {
    if (cur != node) continue;
    (prev ? prev->Next : parent->FirstChild) = node->Next;
    node->Next = nullptr;
    (node->Name.empty() ? parent->IdCount : parent->NamedCount)--;
    ReleaseSubtree(node);
    return;
  }
}

void RemoveIfEmpty(ResourceNode* parent, ResourceNode* dir) {
  if (!dir->FirstChild) Remove(parent, dir);
}

ResourceNode* NewDirectory(ResourceUpdate* u, const ResName& key) {
  ResourceNode* dir = NewNode(u);
  dir->IsDirectory = true;
  if (key.IsId()) dir->Id = key.Id();
  else dir->Name = key.Name();
  return dir;
}

// Gives the leaf new bytes: in memory up to kResInMemoryLimit, else in a temporary file.
bool StoreBytes(ResourceNode* leaf, const void* data, uint32_t size) {
  static std::atomic<uint32_t> counter{0};
  int fd = -1;
  std::vector<uint8_t> bytes;
  if (size > kResInMemoryLimit) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "$wex$res$%08x$%x$", static_cast<unsigned>(getpid()),
                  static_cast<unsigned>(++counter));
    fd = CreateAnonymousTempFile(prefix);
    if (fd < 0) return false;
    if (!WriteAllAt(fd, data, size, 0)) {
      const int error = errno;
      close(fd);
      errno = error;
      return false;
    }
  } else {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.assign(p, p + size);
  }
  ReleaseLeafStorage(leaf);
  leaf->TempFile = fd;
  leaf->Data.swap(bytes);
  leaf->SourceData = nullptr;
  leaf->Size = size;
  leaf->CodePage = 0;
  return true;
}

bool Update(ResourceUpdate* u, const ResName& type, const ResName& name, uint16_t language, const void* data,
            uint32_t size) {
  ResourceNode* typeDir = FindChildDirectory(u->root, type);
  ResourceNode* nameDir = typeDir ? FindChildDirectory(typeDir, name) : nullptr;
  ResourceNode* leaf = nameDir ? FindLanguageLeaf(nameDir, language) : nullptr;
  if (!data) {
    if (leaf) {
      Remove(nameDir, leaf);
      RemoveIfEmpty(typeDir, nameDir);
      RemoveIfEmpty(u->root, typeDir);
    } else if (nameDir) {
      if (language == 0) {
        Remove(typeDir, nameDir);
        RemoveIfEmpty(u->root, typeDir);
      }
    } else if (typeDir && name.IsId() && name.Id() == 0 && language == 0) {
      Remove(u->root, typeDir);
    }
    return true;
  }
  if (leaf) {
    if (!StoreBytes(leaf, data, size)) return false;
    leaf->Id = language;
    return true;
  }
  // Prepare the new nodes completely before linking them into the tree.
  ResourceNode* newLeaf = NewNode(u);
  newLeaf->Id = language;
  if (!StoreBytes(newLeaf, data, size)) return false;
  ResourceNode* newNameDir = nameDir ? nullptr : NewDirectory(u, name);
  ResourceNode* newTypeDir = typeDir ? nullptr : NewDirectory(u, type);
  if (newNameDir) Insert(newNameDir, newLeaf);
  else Insert(nameDir, newLeaf);
  if (newTypeDir) Insert(newTypeDir, newNameDir);
  else if (newNameDir) Insert(typeDir, newNameDir);
  if (newTypeDir) Insert(u->root, newTypeDir);
  return true;
}

}  // namespace

namespace resedit {

ResourceUpdate* OpenResourcesReadOnly(const std::string& fileName) {
  try {
    return Open(fileName, false, true);
  } catch (...) {
    errno = ENOMEM;
    return nullptr;
  }
}

ResourceNode* FindChildDirectory(ResourceNode* parent, const ResName& key) {
  if (!parent || !key.IsValid()) return nullptr;
  for (ResourceNode* c = parent->FirstChild; c; c = c->Next) {
    if (c->IsDirectory && MatchesKey(*c, key)) return c;
  }
  return nullptr;
}

ResourceNode* FindLanguageLeaf(ResourceNode* nameDir, uint16_t language) {
  for (ResourceNode* c = nameDir ? nameDir->FirstChild : nullptr; c; c = c->Next) {
    if (!c->IsDirectory && (AnyLanguage || (c->Name.empty() && c->Id == language))) return c;
  }
  return nullptr;
}

ResourceNode* FindLeaf(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language) {
  ResourceNode* typeDir = FindChildDirectory(update->root, type);
  return FindLanguageLeaf(FindChildDirectory(typeDir, name), language);
}

}  // namespace resedit

ResourceUpdate* BeginResourceUpdate(const std::string& fileName, bool deleteExisting) {
  try {
    return Open(fileName, deleteExisting, false);
  } catch (...) {
    errno = ENOMEM;
    return nullptr;
  }
}

bool UpdateResourceEntry(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language,
                         const void* data, uint32_t size) {
  if (!update || !type.IsValid() || !name.IsValid()) {
    errno = EINVAL;
    return false;
  }
  try {
    return Update(update, type, name, language, data, size);
  } catch (...) {
    errno = ENOMEM;
    return false;
  }
}

bool FindResourceEntry(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language,
                       const void** data, uint32_t* size) {
  if (!update) {
    errno = EINVAL;
    return false;
  }
  const ResourceNode* leaf = FindLeaf(update, type, name, language);
  if (!leaf) {
    errno = ENOENT;
    return false;
  }
  if (data) *data = leaf->SourceData;
  if (size) *size = leaf->Size;
  return true;
}

bool EndResourceUpdate(ResourceUpdate* update, bool discard) {
  if (!update) {
    errno = EINVAL;
    return false;
  }
  bool ok = true;
  if (!discard) {
    try {
      ok = !update->readOnly && WriteBack(update);
      if (update->readOnly) errno = EBADF;
    } catch (...) {
      errno = ENOMEM;
      ok = false;
    }
  }
  const int error = errno;
  Release(update);
  errno = error;
  return ok;
}

const ResourceNode* ResourceRoot(const ResourceUpdate* update) { return update ? update->root : nullptr; }

bool ReadLeafBytes(const ResourceNode& leaf, std::vector<uint8_t>& bytes) {
  try {
    if (leaf.SourceData) {
      bytes.assign(leaf.SourceData, leaf.SourceData + leaf.Size);
    } else if (leaf.TempFile >= 0) {
      bytes.resize(leaf.Size);
      return ReadAllAt(leaf.TempFile, bytes.data(), bytes.size(), 0);
    } else {
      bytes = leaf.Data;
    }
    return true;
  } catch (...) {
    errno = ENOMEM;
    return false;
  }
}

}  // namespace bvq
