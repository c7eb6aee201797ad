#pragma once
// Results of core routines whose failures are anticipated (a file that cannot be written, a
// picture that cannot be read): a value, or the reason it could not be made, as a message for
// the user or the log. Such failures are reported as values, never thrown.
#include <optional>
#include <string>
#include <utility>

namespace bvq {

// Success, or a failure with a message for the user or the log.
struct Status {
  std::string error;  // empty on success

  static Status Ok() { return {}; }
  static Status Fail(std::string message) { return Status{std::move(message)}; }
  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }
};

// A value, or a failure with a message.
template <typename T>
class Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
  Outcome(Status failure) : error_(std::move(failure.error)) {
    if (error_.empty()) error_ = "unknown failure";
  }
  static Outcome Fail(std::string message) { return Outcome(Status::Fail(std::move(message))); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_; }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The failure as a Status (success when a value is held).
  Status status() const { return ok() ? Status::Ok() : Status::Fail(error_); }

 private:
  std::optional<T> value_;
  std::string error_;
};

}  // namespace bvq
