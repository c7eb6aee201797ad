#pragma once
// Temporary files of the resource editor: created with mkstemp in the user's temporary folder
// and unlinked at once, so they disappear with their descriptor whatever happens.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bvq::resedit {

// An open read-write descriptor of a new, already removed file; -1 with errno on failure.
int CreateAnonymousTempFile(std::string_view namePrefix);

// Whole-buffer positioned I/O; false with errno on failure or a short read.
bool WriteAllAt(int fd, const void* data, size_t size, uint64_t offset);
bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset);

}  // namespace bvq::resedit
