#pragma once

#include <cstddef>

namespace fondaris::bank {

// The bank data file: the only place where its layout is written. The table loader and the
// file writer both take offsets and sizes from here.
//
// A 44-byte header (record count as 32-bit little-endian, the rest unused) and a fixed number of
// fixed-size slots. Texts are Windows-1252, NUL-terminated and NUL-padded.
inline constexpr std::size_t kBankHeaderSize = 44;
inline constexpr std::size_t kBankSlotCount = 30000;
inline constexpr std::size_t kBankSlotSize = 187;
inline constexpr std::size_t kBankFileSize = kBankHeaderSize + kBankSlotCount * kBankSlotSize;
static_assert(kBankFileSize == 5610044);

// Offset of the count in the header.
inline constexpr std::size_t kBankCountOffset = 0;

struct BankSlotField {
  std::size_t offset;  // within the slot
  std::size_t size;    // bytes; a text holds at most size - 1 characters
};

namespace bank_slot {
inline constexpr BankSlotField kCode{0, 9};
inline constexpr BankSlotField kFeature{9, 1};
inline constexpr BankSlotField kName{10, 60};
inline constexpr BankSlotField kPostcode{70, 6};
inline constexpr BankSlotField kPlace{76, 36};
inline constexpr BankSlotField kShortName{112, 42};
inline constexpr BankSlotField kBic{154, 12};
inline constexpr BankSlotField kUnused{166, 21};
static_assert(kUnused.offset + kUnused.size == kBankSlotSize);
}  // namespace bank_slot

// Only slots carrying this feature character are offered to the user.
inline constexpr char kOfferedFeature = '1';

constexpr std::size_t bankSlotOffset(std::size_t index) {
  return kBankHeaderSize + index * kBankSlotSize;
}

}  // namespace fondaris::bank
