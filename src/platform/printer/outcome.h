#pragma once
// A value or the reason there is none, for host services whose failures are part of normal
// work (a printer switched off, a scheduler not running) and are reported, not thrown.

#include <optional>
#include <string>
#include <utility>

namespace platform::printer {

template <class T>
class Outcome {
  public:
    Outcome(T value) : value_(std::move(value)) {}
    static Outcome failure(std::string reason) {
        Outcome o;
        o.error_ = std::move(reason);
        return o;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& value() const { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Why it failed; empty when ok().
    const std::string& error() const { return error_; }

  private:
    Outcome() = default;
    std::optional<T> value_;
    std::string error_;
};

}  // namespace platform::printer
