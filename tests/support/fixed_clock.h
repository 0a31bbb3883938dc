#pragma once

#include "core/clock.h"

namespace fondaris::test_support {

// A clock that stands still until a test moves it.
class FixedClock final : public core::Clock {
 public:
  explicit FixedClock(core::DateTime now) : now_(now) {}
  // An invalid date or time stands for the epoch, 30 Dec 1899 00:00.
  FixedClock(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  void set(core::DateTime now) { now_ = now; }
  core::DateTime today() const override { return core::dateOf(now_); }
  core::DateTime now() const override { return now_; }

 private:
  core::DateTime now_;
};

}  // namespace fondaris::test_support
