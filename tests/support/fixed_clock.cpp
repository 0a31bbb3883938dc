#include "tests/support/fixed_clock.h"

namespace fondaris::test_support {

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second) : now_(0) {
  const auto date = core::encodeDate(year, month, day);
  const auto time = core::encodeTime(hour, minute, second);
  if (date && time) now_ = core::composeDateTime(*date, *time);
}

}  // namespace fondaris::test_support
