#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fondaris::bank {

// IBAN (ISO 13616, check digits ISO 7064 mod 97-10) from a bank code and an account number.
// An 8-digit bank code gives a German IBAN (bank code + account padded to 10 digits), a 5-digit
// one an Austrian IBAN (bank code + account padded to 11 digits). The account number is trimmed
// and must hold 1 to 10 digits. `country` may be empty, "DE" or "AT"; given, it must fit the
// bank code. Empty when no valid IBAN can be formed.
std::string iban(std::string_view bankCode, std::string_view account,
                 std::string_view country = {});

// Why iban() gives no IBAN for these inputs, as a German sentence; empty when it gives one.
std::string ibanRefusal(std::string_view bankCode, std::string_view account,
                        std::string_view country = {});

// Account-number exit of a bank connection: nullopt (leave the IBAN field alone) unless both
// texts are filled, otherwise the new IBAN field text.
std::optional<std::string> ibanForAccountExit(std::string_view bankCode, std::string_view account);

}  // namespace fondaris::bank
