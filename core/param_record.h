#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialogs.h"

namespace fondaris::core {

// The product parameter file "Param.dat": one fixed-layout little-endian record. The field
// layout lives in param_layout.h; this is the reader and the small helpers the program uses.
inline constexpr std::size_t kParamRecordSize = 466088;
inline constexpr const char* kParamFileName = "Param.dat";

class ParamRecord {
 public:
  ParamRecord() : bytes_(kParamRecordSize, 0) {}

  std::int16_t i16(std::size_t offset) const;
  std::uint16_t u16(std::size_t offset) const;
  std::int32_t i32(std::size_t offset) const;
  std::uint32_t u32(std::size_t offset) const;
  // Zero-terminated Windows-1252 text of at most `size` bytes, as UTF-8.
  std::string text(std::size_t offset, std::size_t size) const;

  std::vector<std::uint8_t>& bytes() { return bytes_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Reads directory/Param.dat, falling back to the program's folder (which then becomes the
// working directory). Returns 0 on success, 1 on failure; `messages` (may be null) receives the
// error message box.
int readParamRecord(const std::string& directory, ParamRecord& out, Dialogs* messages);

// The record from bytes already in memory: the first kParamRecordSize of them, as the file
// reader takes them. False (and `out` unchanged) when fewer bytes are given.
bool paramRecordFromBytes(std::string_view bytes, ParamRecord& out);

// Text at 0 (selector 1), 100 (selector 2) or 200 (other); empty when unreadable.
std::string paramTextA(const std::string& directory, int selector);
// Text at 600 (start picture name); empty when unreadable.
std::string paramTextB(const std::string& directory);
// Text at 1450, 1550 or 1650 likewise.
std::string paramTextC(const std::string& directory, int selector);

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
