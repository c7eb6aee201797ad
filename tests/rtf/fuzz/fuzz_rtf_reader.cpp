// libFuzzer target over the RTF reader: the input is a licence or information file as an author
// might name it. Reading must give a document or problems, never crash, hang or grow without
// bound; what it gives must survive our writer: written and read again, it is sound and has
// the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

using namespace bvq::rtf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const RtfReadResult read = ReadRtf(bytes);
  if (!read.isRtf) return 0;
  const RtfReadResult again = ReadRtf(WriteRtf(read.document, 1252));
  if (!again.problems.empty() || DocumentText(again.document) != DocumentText(read.document)) __builtin_trap();
  return 0;
}
