#include "core/clock.h"

#include <chrono>
#include <ctime>

#include "core/platform/platform.h"

namespace fondaris::core {

DateTime SystemClock::today() const {
  return dateOf(now());
}

DateTime SystemClock::now() const {
  const auto point = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(point);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(point.time_since_epoch()).count() %
      1000;
  std::tm local{};
  if (!platform::localTime(seconds, local)) return 0;
  // A leap second (tm_sec 60) is folded into the last regular second.
  const auto date = encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const auto time = encodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                               static_cast<int>(ms < 0 ? 0 : ms));
  return composeDateTime(date.value_or(0), time.value_or(0));
}

}  // namespace fondaris::core
