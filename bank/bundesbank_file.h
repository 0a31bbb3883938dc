#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/bank_slot.h"

namespace fondaris::bank {

// The Deutsche Bundesbank's bank code file: fixed-width records of 168 characters, ISO-8859-1,
// CR LF. Fields: BLZ 8, Merkmal 1, Bezeichnung 58, PLZ 5, Ort 35, Kurzbezeichnung 27, PAN 5,
// BIC 11, Prüfziffermethode 2, Datensatznummer 6, Änderungskennzeichen 1, Löschung 1,
// Nachfolge-BLZ 8.
inline constexpr std::size_t kBundesbankRecordLength = 168;

struct BundesbankFile {
  std::vector<BankSlot> slots;       // in file order, at most kBankSlotCount
  std::size_t dropped = 0;           // records beyond kBankSlotCount
  std::optional<std::string> error;  // German, with the line number; slots are empty then
};

BundesbankFile parseBundesbankFile(std::string_view bytes);

}  // namespace fondaris::bank
