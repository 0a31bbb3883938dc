#pragma once

#include <cctype>
#include <string>

namespace fondaris::bank::test {

// Independent IBAN validation as a bank would do it: country and check digits moved to the end,
// letters as two-digit numbers, the whole number mod 97 must be 1 (taken nine digits at a time).
inline bool ibanValidates(const std::string& iban) {
  if (iban.size() < 5) return false;
  std::string digits;
  for (char c : iban.substr(4) + iban.substr(0, 4)) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits.push_back(c);
    } else if (c >= 'A' && c <= 'Z') {
      digits += std::to_string(c - 'A' + 10);
    } else {
      return false;
    }
  }
  unsigned long long r = 0;
  for (std::size_t i = 0; i < digits.size(); i += 9) {
    const std::string chunk = digits.substr(i, 9);
    r = std::stoull(std::to_string(r) + chunk) % 97;
  }
  return r == 1;
}

}  // namespace fondaris::bank::test
