#pragma once
// Where the data appended to an executable ends when a signing tool has added a certificate
// table behind it: the table's file offset comes from the PE security directory, and the
// tool pads the file with at most 7 zero bytes to an 8-byte boundary before the table.
#include <cstdint>
#include <string>

namespace bvq {

// The end of `path`'s own content: its size when it carries no certificate table at its end,
// otherwise the table's offset less the zero padding before it. `fileSize` receives the
// file's size. Returns false when the file cannot be read.
bool ContentEndBeforeCertificates(const std::string& path, uint64_t& contentEnd, uint64_t& fileSize);

}  // namespace bvq
