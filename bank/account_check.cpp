#include "bank/account_check.h"

#include <ktoblzcheck.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

namespace fondaris::bank {

namespace {

bool digitsOnly(std::string_view text, std::size_t maxLength) {
  return !text.empty() && text.size() <= maxLength &&
         std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

const AccountNumberCheck& checker() {
  static const std::unique_ptr<AccountNumberCheck> instance =
      std::make_unique<AccountNumberCheck>();
  return *instance;
}

}  // namespace

AccountCheck checkAccount(std::string_view bankCode, std::string_view account) {
  auto trimmed = [](std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string_view();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
  };
  bankCode = trimmed(bankCode);
  account = trimmed(account);
  if (!digitsOnly(bankCode, 8) || bankCode.size() != 8 || !digitsOnly(account, 10))
    return AccountCheck::NotCheckable;
  switch (checker().check(std::string(bankCode), std::string(account))) {
    case AccountNumberCheck::OK:
      return AccountCheck::Valid;
    case AccountNumberCheck::ERROR:
      return AccountCheck::Invalid;
    default:
      return AccountCheck::NotCheckable;
  }
}

}  // namespace fondaris::bank
