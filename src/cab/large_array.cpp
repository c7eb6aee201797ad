#include "cab/large_array.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace bvq::cab::large_pages {
namespace {

constexpr size_t kLargePage = size_t{2} << 20;

// Mappings are whole small pages.
size_t PageRounded(size_t bytes) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

}  // namespace

void* Map(size_t bytes) {
  // Map a large page more than asked for, then give back what lies before the first
  // boundary and after the end.
  bytes = PageRounded(bytes);
  const size_t span = bytes + kLargePage;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const size_t tail = start + span - (aligned + bytes);
  if (tail) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // a hint; small pages work too
#endif
  return reinterpret_cast<void*>(aligned);
}

void Unmap(void* p, size_t bytes) { munmap(p, PageRounded(bytes)); }

}  // namespace bvq::cab::large_pages
