#include "cab/cab_error.h"

#include <cstdio>
#include <cstring>

namespace bvq {
namespace {

std::string Hex4(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

std::string SystemMessage(int code) {
  std::string text = std::strerror(code);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' ||
                           text.back() == '.'))
    text.pop_back();
  return text;
}

}  // namespace

std::string ECabinetError::FormatMessage(const cab::ERF& erf) {
  if (erf.fError == 0) return {};
  std::string msg = " [0x" + Hex4(uint32_t(erf.erfOper)) + "]";
  if (erf.erfType != 0)
    msg += ".\r\n" + SystemMessage(erf.erfType) + " [0x" + Hex4(uint32_t(erf.erfType)) + "].";
  return msg;
}

ECabinetError::ECabinetError(const cab::ERF& erf)
    : std::runtime_error(FormatMessage(erf)),
      ErrorCode(erf.erfOper),
      SystemError(erf.erfType),
      HasError(erf.fError != 0) {}

}  // namespace bvq
