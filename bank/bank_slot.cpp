#include "bank/bank_slot.h"

#include <algorithm>
#include <cstdint>

#include "bank/bank_file_layout.h"
#include "core/cp1252.h"
#include "core/files.h"

namespace fondaris::bank {

namespace {

// Windows-1252 has one byte per character, so any byte count is a character boundary.
void putText(std::string& bytes, std::size_t slotOffset, BankSlotField field,
             const std::string& utf8) {
  const std::string encoded = core::utf8ToCp1252(utf8);
  const std::size_t n = std::min(encoded.size(), field.size - 1);
  std::copy_n(encoded.begin(), n, bytes.begin() + slotOffset + field.offset);
}

}  // namespace

std::string bankFileBytes(std::span<const BankSlot> slots) {
  std::string bytes(kBankFileSize, '\0');
  const std::size_t count = std::min(slots.size(), kBankSlotCount);
  const auto count32 = static_cast<std::uint32_t>(count);
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[kBankCountOffset + i] = static_cast<char>((count32 >> (8 * i)) & 0xFF);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const BankSlot& slot = slots[i];
    const std::size_t at = bankSlotOffset(i);
    putText(bytes, at, bank_slot::kCode, slot.code);
    bytes[at + bank_slot::kFeature.offset] = slot.feature;
    putText(bytes, at, bank_slot::kName, slot.name);
    putText(bytes, at, bank_slot::kPostcode, slot.postcode);
    putText(bytes, at, bank_slot::kPlace, slot.place);
    putText(bytes, at, bank_slot::kShortName, slot.shortName);
    putText(bytes, at, bank_slot::kBic, slot.bic);
  }
  return bytes;
}

core::FileResult writeBankFile(const std::string& path, std::span<const BankSlot> slots) {
  return core::writeFileAtomically(path, bankFileBytes(slots));
}

}  // namespace fondaris::bank
