#include "bank/iban.h"

#include <algorithm>

namespace fondaris::bank {

namespace {

constexpr std::size_t kMaxAccountDigits = 10;

struct Layout {
  std::string_view country;
  std::size_t bankCodeDigits;
  std::size_t accountDigits;
};
constexpr Layout kGerman{"DE", 8, 10};
constexpr Layout kAustrian{"AT", 5, 11};

bool allDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

const Layout* layoutFor(std::string_view bankCode) {
  if (!allDigits(bankCode)) return nullptr;
  if (bankCode.size() == kGerman.bankCodeDigits) return &kGerman;
  if (bankCode.size() == kAustrian.bankCodeDigits) return &kAustrian;
  return nullptr;
}

// Remainder mod 97 of the decimal number BBAN + country as digits (A = 10 ... Z = 35) + "00".
int checkRemainder(std::string_view bban, std::string_view country) {
  int r = 0;
  auto add = [&r](int digit) { r = (r * 10 + digit) % 97; };
  for (char c : bban) add(c - '0');
  for (char c : country) {
    const int value = c - 'A' + 10;
    add(value / 10);
    add(value % 10);
  }
  add(0);
  add(0);
  return r;
}

}  // namespace

core::Result<std::string, IbanRefusal> makeIban(std::string_view bankCode, std::string_view account,
                                                std::string_view country) {
  const Layout* layout = layoutFor(bankCode);
  if (!layout) return core::Failure{IbanRefusal::BankCodeLength};
  if (!country.empty() && country != layout->country)
    return core::Failure{IbanRefusal::CountryMismatch};
  const std::string_view number = trimmed(account);
  if (number.empty()) return core::Failure{IbanRefusal::AccountMissing};
  if (!allDigits(number)) return core::Failure{IbanRefusal::AccountNotDigits};
  if (number.size() > kMaxAccountDigits) return core::Failure{IbanRefusal::AccountTooLong};

  std::string bban(bankCode);
  bban.append(layout->accountDigits - number.size(), '0');
  bban.append(number);
  const int check = 98 - checkRemainder(bban, layout->country);  // 1 .. 98
  std::string out(layout->country);
  out.push_back(static_cast<char>('0' + check / 10));
  out.push_back(static_cast<char>('0' + check % 10));
  return out + bban;
}

std::string iban(std::string_view bankCode, std::string_view account, std::string_view country) {
  return makeIban(bankCode, account, country).value_or(std::string());
}

std::optional<std::string> ibanForAccountExit(std::string_view bankCode, std::string_view account) {
  if (bankCode.empty() || trimmed(account).empty()) return std::nullopt;
  return iban(bankCode, account);
}

}  // namespace fondaris::bank
