#pragma once
// The exception the cabinet writer raises when an operation fails.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace bvq {

class CabinetError : public std::runtime_error {
 public:
  // `code` is an FCIERR_* number; `systemError` the errno behind it, 0 when there is none.
  explicit CabinetError(int32_t code, int32_t systemError = 0);

  int32_t code() const { return code_; }
  int32_t systemError() const { return systemError_; }

  // " [0x0007]" for a user abort; with a system error the system's text and code follow.
  static std::string FormatMessage(int32_t code, int32_t systemError);

 private:
  int32_t code_;
  int32_t systemError_;
};

}  // namespace bvq
