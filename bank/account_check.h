#pragma once

#include <string_view>

namespace fondaris::bank {

enum class AccountCheck {
  Valid,
  Invalid,       // the bank's check-digit method rejects the number
  NotCheckable,  // bank code or method unknown to the check-digit data, or malformed input
};

// The Bundesbank check-digit method of the bank applied to the account number. The method
// data are loaded on the first call and kept for the process.
[[nodiscard]] AccountCheck checkAccount(std::string_view bankCode, std::string_view account);

}  // namespace fondaris::bank
