#pragma once
// Plain-text files as rich-text documents: how a licence or information text that is not RTF
// becomes one.
#include <string_view>

#include "rtf/rich_text.h"

namespace bvq::rtf {

// One paragraph per line (lines end with CR LF, LF or CR) in the default font and size. The
// bytes are text in `codePage`, unless they start with a UTF-8 or UTF-16 byte order mark.
RichDocument DocumentFromPlainText(std::string_view bytes, int codePage);

}  // namespace bvq::rtf
