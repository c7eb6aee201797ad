#pragma once
// A fixed-size, zero-filled array for the compressors' large tables and windows, which are
// read at random: it starts on a 2 MB boundary and asks the system for 2 MB pages, so that
// each random read does not also miss the address translation cache. Where the system
// gives only small pages it works the same, only slower.
#include <cstddef>
#include <type_traits>
#include <utility>

namespace bvq::cab {

namespace large_pages {
// Maps `bytes` of zeroed memory; throws std::bad_alloc. Free with Unmap.
void* Map(size_t bytes);
void Unmap(void* p, size_t bytes);
}  // namespace large_pages

template <typename T>
class LargeArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  LargeArray() = default;
  explicit LargeArray(size_t n) : data_(n ? static_cast<T*>(large_pages::Map(n * sizeof(T))) : nullptr), size_(n) {}
  LargeArray(LargeArray&& o) noexcept : data_(std::exchange(o.data_, nullptr)), size_(std::exchange(o.size_, 0)) {}
  LargeArray& operator=(LargeArray&& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(size_, o.size_);
    return *this;
  }
  LargeArray(const LargeArray&) = delete;
  LargeArray& operator=(const LargeArray&) = delete;
  ~LargeArray() {
    if (data_) large_pages::Unmap(data_, size_ * sizeof(T));
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  size_t size() const { return size_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace bvq::cab
