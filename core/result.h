#pragma once

#include <concepts>
#include <utility>
#include <variant>

namespace fondaris::core {

// The error side of a Result, so that `return Failure{FileError::CannotOpen};` reads as what
// it is even where T and E could convert into each other.
template <class E>
struct Failure {
  E error;
};
template <class E>
Failure(E) -> Failure<E>;

// A value or the reason there is none: what a module hands up across its boundary instead of
// 0/-1, a bool out-parameter or an empty text with a separate "why". The caller must look at
// it; one that deliberately does not says so with ignoreFailure(). Members are named as those
// of std::expected, which replaces this once the project moves to C++23.
template <class T, class E>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  template <class F>
  requires std::convertible_to<F, E> Result(Failure<F> failure)
      : state_(std::in_place_index<1>, E(std::move(failure.error))) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  // Only when has_value(); std::get checks it.
  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }
  template <class U>
  T value_or(U&& fallback) const& {
    return has_value() ? value() : T(std::forward<U>(fallback));
  }
  template <class U>
  T value_or(U&& fallback) && {
    return has_value() ? std::move(*this).value() : T(std::forward<U>(fallback));
  }

  // Only when !has_value().
  const E& error() const { return std::get<1>(state_); }

  friend bool operator==(const Result&, const Result&) = default;
  template <class U>
  requires(!std::same_as<U, Result> && requires(const T& t, const U& u) { t == u; }) friend bool
  operator==(const Result& result, const U& value) {
    return result.has_value() && result.value() == value;
  }

 private:
  std::variant<T, E> state_;
};

// Success without a value, or the reason of the failure.
template <class E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  template <class F>
  requires std::convertible_to<F, E> Result(Failure<F> failure)
      : failed_(true), error_(E(std::move(failure.error))) {}

  bool has_value() const { return !failed_; }
  explicit operator bool() const { return has_value(); }
  // Only when !has_value().
  const E& error() const { return error_; }

  friend bool operator==(const Result&, const Result&) = default;

 private:
  bool failed_ = false;
  E error_{};
};

// For a failure the caller has nothing to do about (a best-effort clean-up, a window position
// that could not be kept): says so where a bare call would look like an oversight.
template <class R>
void ignoreFailure(const R& /*result*/) {}

}  // namespace fondaris::core
