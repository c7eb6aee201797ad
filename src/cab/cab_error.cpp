#include "cab/cab_error.h"

#include <cstdio>
#include <cstring>

#include "util/files.h"

namespace bvq {
namespace {

std::string Hex4(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

std::string SystemMessage(int code) {
  std::string text = FileErrorText(code);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' ||
                           text.back() == '.'))
    text.pop_back();
  return text;
}

}  // namespace

std::string CabinetError::FormatMessage(int32_t code, int32_t systemError) {
  std::string msg = " [0x" + Hex4(uint32_t(code)) + "]";
  if (systemError != 0)
    msg += ".\r\n" + SystemMessage(systemError) + " [0x" + Hex4(uint32_t(systemError)) + "].";
  return msg;
}

CabinetError::CabinetError(int32_t code, int32_t systemError)
    : std::runtime_error(FormatMessage(code, systemError)), code_(code), systemError_(systemError) {}

}  // namespace bvq
