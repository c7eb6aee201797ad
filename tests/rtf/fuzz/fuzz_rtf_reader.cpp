// libFuzzer target over the RTF reader: the input is a licence or information file as an author
// might name it. Reading must give a document or problems, never crash, hang or grow without
// bound; what it gives must survive our writer: written and read again, it is sound and has the
// same paragraphs, text and character styles.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <vector>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

using namespace bvq::rtf;

namespace {

// What a reader sees of a paragraph, leaving out what the writer may name differently: font
// names (an unnamed font gets the default name) and list numbers (counted again when read).
struct ParagraphView {
  ParagraphFormat format;
  std::string text;
  std::vector<std::tuple<bool, bool, bool, bool, int, std::optional<Color>>> styles;  // one per byte
  bool operator==(const ParagraphView&) const = default;
};

std::vector<ParagraphView> View(const RichDocument& document) {
  std::vector<ParagraphView> view;
  for (const Paragraph& paragraph : document.paragraphs) {
    ParagraphView& shown = view.emplace_back();
    shown.format = paragraph.format;
    shown.format.list.number = 0;
    for (const Run& run : paragraph.runs) {
      shown.text += run.text;
      const CharFormat& f = run.format;
      shown.styles.insert(shown.styles.end(), run.text.size(),
                          {f.bold, f.italic, f.underline, f.strikeOut, f.sizeHalfPoints, f.color});
    }
  }
  return view;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const RtfReadResult read = ReadRtf(bytes);
  if (!read.isRtf) return 0;
  const RtfReadResult again = ReadRtf(WriteRtf(read.document, 1252));
  if (!again.problems.empty() || View(again.document) != View(read.document)) __builtin_trap();
  return 0;
}
