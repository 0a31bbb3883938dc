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

}  // namespace fondaris::core
