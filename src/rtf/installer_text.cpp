#include "rtf/installer_text.h"

#include "rtf/plain_text.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

namespace bvq::rtf {

std::string InstallerRichText(std::string_view fileBytes, int codePage) {
  if (!LooksLikeRtf(fileBytes)) return WriteRtf(DocumentFromPlainText(fileBytes, codePage), codePage);
  RtfReadResult read = ReadRtf(fileBytes);
  if (read.problems.empty()) return std::string(fileBytes);
  return WriteRtf(read.document, codePage);
}

}  // namespace bvq::rtf
