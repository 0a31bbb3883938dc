#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fondaris::bank {

// Why no IBAN can be formed.
enum class IbanRefusal {
  BankCodeLength,   // neither 8 digits (Germany) nor 5 (Austria)
  CountryMismatch,  // the given country is not the bank code's
  AccountMissing,
  AccountNotDigits,
  AccountTooLong,  // more than 10 digits
};

// IBAN (ISO 13616, check digits ISO 7064 mod 97-10) from a bank code and an account number.
// An 8-digit bank code gives a German IBAN (bank code + account padded to 10 digits), a 5-digit
// one an Austrian IBAN (bank code + account padded to 11 digits). The account number is trimmed
// and must hold 1 to 10 digits. `country` may be empty, "DE" or "AT"; given, it must fit the
// bank code.
core::Result<std::string, IbanRefusal> makeIban(std::string_view bankCode, std::string_view account,
                                                std::string_view country = {});

// The IBAN field's text: the IBAN, or empty when none can be formed.
std::string iban(std::string_view bankCode, std::string_view account,
                 std::string_view country = {});

// Account-number exit of a bank connection: nullopt (leave the IBAN field alone) unless both
// texts are filled, otherwise the new IBAN field text.
std::optional<std::string> ibanForAccountExit(std::string_view bankCode, std::string_view account);

}  // namespace fondaris::bank
