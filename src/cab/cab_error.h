#pragma once
// The exception the cabinet writer raises when an operation fails.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "cab/cab_types.h"

namespace bvq {

class ECabinetError : public std::runtime_error {
 public:
  explicit ECabinetError(const cab::ERF& erf);

  int32_t ErrorCode;    // erfOper
  int32_t SystemError;  // erfType
  bool HasError;        // fError was non-zero

  // " [0x0007]" for a user abort; with a system error the system's text and code follow.
  static std::string FormatMessage(const cab::ERF& erf);
};

}  // namespace bvq
