#pragma once

#include "core/german.h"

namespace fondaris::core {

// Today and now. Every date rule reads the clock rather than the system, so tests fix the day.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current day without time.
  virtual DateTime today() const = 0;
  // The current day and time of day.
  virtual DateTime now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
 public:
  DateTime today() const override;
  DateTime now() const override;
};

// A clock that stands still until a test moves it.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime now) : now_(now) {}
  // An invalid date or time stands for the epoch, 30 Dec 1899 00:00.
  FixedClock(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  void set(DateTime now) { now_ = now; }
  DateTime today() const override { return dateOf(now_); }
  DateTime now() const override { return now_; }

 private:
  DateTime now_;
};

}  // namespace fondaris::core
