#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/block_allocator.h"
#include "core/result.h"

namespace fondaris::core {

// The product parameter file "Param.dat": one fixed-layout little-endian record. The field
// layout lives in param_layout.h; this is the reader and the small helpers the program uses.
inline constexpr std::size_t kParamRecordSize = 466088;
inline constexpr const char* kParamFileName = "Param.dat";

class ParamRecord {
 public:
  using Bytes = std::vector<std::uint8_t, BlockAllocator<std::uint8_t>>;

  ParamRecord() : bytes_(kParamRecordSize, 0) {}

  std::int16_t i16(std::size_t offset) const;
  std::uint16_t u16(std::size_t offset) const;
  std::int32_t i32(std::size_t offset) const;
  std::uint32_t u32(std::size_t offset) const;
  // Zero-terminated Windows-1252 text of at most `size` bytes, as UTF-8.
  std::string text(std::size_t offset, std::size_t size) const;

  Bytes& bytes() { return bytes_; }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Why the product data could not be read.
enum class ParamReadError {
  Missing,   // neither in the folder nor in the program's folder
  TooShort,  // the file holds less than one record
};
using ParamReadResult = Result<void, ParamReadError>;

// Reads directory/Param.dat, falling back to the program's folder. On failure `out` is left
// empty (all zero). Reading shows nothing and changes nothing else: see settleProductDataFolder.
[[nodiscard]] ParamReadResult readParamRecord(const std::string& directory, ParamRecord& out);

// The message box text for a failed read, as the program shows it (caption "Fehler").
std::string paramReadMessage(ParamReadError error);

// The record from bytes already in memory: the first kParamRecordSize of them, as the file
// reader takes them. False (and `out` unchanged) when fewer bytes are given.
bool paramRecordFromBytes(std::string_view bytes, ParamRecord& out);

// When the working directory holds no "Param.dat", the program's folder becomes the working
// directory for the rest of the run. An interactive run settles this once, before its forms
// read their product data.
void settleProductDataFolder();

// Product variant name shown on the forms: variant 1, 2, or (any other selector) the third
// text. Empty in a record that could not be read.
std::string variantName(const ParamRecord& record, int selector);
// File name of the start screen's picture.
std::string startPictureName(const ParamRecord& record);
// Product name for the start screen's title, selected like variantName.
std::string productTitle(const ParamRecord& record, int selector);

// Maximum death benefit in EUR for an entry age and sex; 1,000,000 when unreadable or the age
// lies outside 0..99.
double maxDeathBenefit(const std::string& directory, int entryAge, int sex);
// The same rule on a record already read.
double maxDeathBenefit(const ParamRecord& record, int entryAge, int sex);

struct SwitchFlags {
  bool first = false;   // the group's highest digit (offered)
  bool second = false;  // its lowest digit
  bool third = false;   // its middle digit
  bool ok = false;      // the record could be read
};
// Group 1..3 of the product switch word.
SwitchFlags paramSwitches(const std::string& directory, int group);
// The same on a record already read (`ok` is then true).
SwitchFlags paramSwitches(const ParamRecord& record, int group);

struct AgeBounds {
  int lower = 5;
  int upper = 75;
  bool ok = false;
};
// Contract kind "R", "K" or anything else.
AgeBounds paramAgeBounds(const std::string& directory, const std::string& contractKind);

// Discount level x: factor (0.93 when x < 0 or unreadable) and its label.
double paramDiscount(const std::string& directory, double x, std::string& label);

}  // namespace fondaris::core
