#include "bank/bank_table.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "bank/bank_file_layout.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/platform/platform.h"

namespace fondaris::bank {

namespace {

// NUL-terminated slot text, cut to what the table's field holds.
std::string slotText(std::string_view slot, BankSlotField field, std::size_t capacity) {
  std::string_view text = slot.substr(field.offset, field.size);
  text = text.substr(0, std::min(text.find('\0'), capacity - 1));
  return core::cp1252ToUtf8(text);
}

std::int64_t headerCount(std::string_view bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) {
    v = (v << 8) | static_cast<std::uint8_t>(bytes[kBankCountOffset + i]);
  }
  return static_cast<std::int32_t>(v);
}

std::string pathIn(const std::string& folder, const std::string& name) {
  if (core::platform::nativePath(name).is_absolute()) return name;
  return core::joinPath(folder, name);
}

}  // namespace

BankTable bankTableFromBytes(std::string_view bytes) {
  BankTable table;
  if (bytes.size() < kBankFileSize) return table;
  // A damaged header must not lead the reader past the last slot.
  const auto slots =
      static_cast<std::size_t>(std::clamp<std::int64_t>(headerCount(bytes), 0, kBankSlotCount));
  for (std::size_t i = 0; i < slots && table.records.size() < kBankTableCapacity; ++i) {
    const std::string_view slot = bytes.substr(bankSlotOffset(i), kBankSlotSize);
    if (slot[bank_slot::kFeature.offset] != kOfferedFeature) continue;
    table.records.push_back({slotText(slot, bank_slot::kCode, bank_record::kCode),
                             slotText(slot, bank_slot::kName, bank_record::kName),
                             slotText(slot, bank_slot::kPostcode, bank_record::kPostcode),
                             slotText(slot, bank_slot::kPlace, bank_record::kPlace),
                             slotText(slot, bank_slot::kShortName, bank_record::kShortName),
                             slotText(slot, bank_slot::kBic, bank_record::kBic)});
  }
  return table;
}

bool bankFileExists(const std::string& folder, const std::string& name) {
  if (name.empty()) return false;
  return core::fileExists(pathIn(folder, name)) ||
         core::fileExists(pathIn(core::programDirectory(), name));
}

BankTable loadBankTable(const std::string& folder, const std::string& name,
                        core::Dialogs& dialogs) {
  std::ifstream in(core::platform::nativePath(pathIn(folder, name)), std::ios::binary);
  if (!in)
    in.open(core::platform::nativePath(pathIn(core::programDirectory(), name)), std::ios::binary);
  if (!in) {
    dialogs.message("Die Datei '" + name + "' konnte nicht gelesen werden!", "Fehler");
    return {};
  }
  std::string bytes(kBankFileSize, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::size_t>(in.gcount()) != kBankFileSize) {
    dialogs.message("Fehler beim Lesen der Daten von '" + name + "'!", "Fehler");
    return {};
  }
  return bankTableFromBytes(bytes);
}

std::optional<std::size_t> findBankCode(const BankTable& table, std::string_view code) {
  const auto it = std::find_if(table.records.begin(), table.records.end(),
                               [&](const BankRecord& r) { return r.code == code; });
  if (it == table.records.end()) return std::nullopt;
  return static_cast<std::size_t>(it - table.records.begin());
}

}  // namespace fondaris::bank
