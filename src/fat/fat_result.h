// Success or a Win32 error code, as every layer of fat/ returns it: the codes
// are the ones drive A: must report, so no translation table is needed above.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "text/win_error.h"

namespace pelko::fat {

using ErrorCode = std::uint32_t;

struct [[nodiscard]] Status {
  ErrorCode code = win::ERROR_SUCCESS;

  bool ok() const { return code == win::ERROR_SUCCESS; }
  explicit operator bool() const { return ok(); }
};

inline Status Ok() { return Status{}; }
inline Status Failed(ErrorCode code) { return Status{code}; }

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  // Only for failures: a Result never holds a success without a value.
  Result(Status failure) : error_(failure.ok() ? win::ERROR_GEN_FAILURE : failure.code) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  ErrorCode error() const { return error_; }
  Status status() const { return Status{error_}; }

  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }

 private:
  std::optional<T> value_;
  ErrorCode error_ = win::ERROR_SUCCESS;
};

}  // namespace pelko::fat
