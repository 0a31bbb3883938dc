#include "core/param_record.h"

#include <algorithm>
#include <fstream>

#include "core/cp1252.h"
#include "core/files.h"
#include "core/param_layout.h"
#include "core/param_reader.h"
#include "core/platform/platform.h"

namespace fondaris::core {

namespace {

std::uint32_t littleEndian(const ParamRecord::Bytes& bytes, std::size_t offset, std::size_t width) {
  if (offset > bytes.size() || bytes.size() - offset < width) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = width; i-- > 0;) v = (v << 8) | bytes[offset + i];
  return v;
}

// The messages name the file the way the program always has, without its folder.
constexpr const char* kShownName = "\\Param.dat";

constexpr double kUnlimitedDeathBenefit = 1000000.0;

// Reads without messages, as every helper does.
bool readQuietly(const std::string& directory, ParamRecord& record) {
  return readParamRecord(directory, record).has_value();
}

}  // namespace

std::int16_t ParamRecord::i16(std::size_t offset) const {
  return static_cast<std::int16_t>(littleEndian(bytes_, offset, 2));
}
std::uint16_t ParamRecord::u16(std::size_t offset) const {
  return static_cast<std::uint16_t>(littleEndian(bytes_, offset, 2));
}
std::int32_t ParamRecord::i32(std::size_t offset) const {
  return static_cast<std::int32_t>(littleEndian(bytes_, offset, 4));
}
std::uint32_t ParamRecord::u32(std::size_t offset) const {
  return littleEndian(bytes_, offset, 4);
}

std::string ParamRecord::text(std::size_t offset, std::size_t size) const {
  if (offset >= bytes_.size()) return {};
  const std::size_t limit = std::min(size, bytes_.size() - offset);
  std::size_t n = 0;
  while (n < limit && bytes_[offset + n] != 0) ++n;
  return cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes_.data() + offset), n));
}

ParamReadResult readParamRecordFrom(const std::string& directory,
                                    const std::string& fallbackDirectory, ParamRecord& out) {
  // No caller gets to use part of a record it was told it could not have. The record is read
  // in place: a fresh zeroed copy would touch its 455 KiB once more for nothing.
  ParamRecord::Bytes& bytes = out.bytes();
  bytes.resize(kParamRecordSize);
  const auto unread = [&bytes] { std::fill(bytes.begin(), bytes.end(), std::uint8_t{0}); };
  std::ifstream in(platform::nativePath(joinPath(directory, kParamFileName)), std::ios::binary);
  if (!in)
    in.open(platform::nativePath(joinPath(fallbackDirectory, kParamFileName)), std::ios::binary);
  if (!in) {
    unread();
    return Failure{ParamReadError::Missing};
  }
  in.read(reinterpret_cast<char*>(bytes.data()), kParamRecordSize);
  if (static_cast<std::size_t>(in.gcount()) != kParamRecordSize) {
    unread();
    return Failure{ParamReadError::TooShort};
  }
  return {};
}

std::string paramReadMessage(ParamReadError error) {
  if (error == ParamReadError::Missing)
    return std::string("Die Datei '") + kShownName + "' konnte nicht gelesen werden!";
  return std::string("Fehler beim Lesen der Daten von '") + kShownName + "'!";
}

bool paramRecordFromBytes(std::string_view bytes, ParamRecord& out) {
  if (bytes.size() < kParamRecordSize) return false;
  out.bytes().assign(bytes.begin(), bytes.begin() + kParamRecordSize);
  return true;
}

ParamReadResult readParamRecord(const std::string& directory, ParamRecord& out) {
  return readParamRecordFrom(directory, programDirectory(), out);
}

void settleProductDataFolderFrom(const std::string& fallbackDirectory) {
  if (!fileExists(joinPath(workingDirectory(), kParamFileName)))
    setWorkingDirectory(fallbackDirectory);
}

void settleProductDataFolder() {
  settleProductDataFolderFrom(programDirectory());
}

std::string variantName(const ParamRecord& record, int selector) {
  if (selector == 1) return paramText(record, paramField("productTextA1"));
  if (selector == 2) return paramText(record, paramField("productTextA2"));
  return paramText(record, paramField("productTextA3"));
}

std::string startPictureName(const ParamRecord& record) {
  return paramText(record, paramField("startPicture"));
}

std::string productTitle(const ParamRecord& record, int selector) {
  if (selector == 1) return paramText(record, paramField("productTextC1"));
  if (selector == 2) return paramText(record, paramField("productTextC2"));
  return paramText(record, paramField("productTextC3"));
}

double maxDeathBenefit(const ParamRecord& record, int entryAge, int sex) {
  if (entryAge < 0 || entryAge >= 100) return kUnlimitedDeathBenefit;
  const ParamField& table =
      sex == 0 ? paramField("deathBenefitSex0") : paramField("deathBenefitSex1");
  return static_cast<double>(record.i32(table.at(static_cast<std::size_t>(entryAge))));
}

double maxDeathBenefit(const std::string& directory, int entryAge, int sex) {
  ParamRecord record;
  if (!readQuietly(directory, record)) return kUnlimitedDeathBenefit;
  return maxDeathBenefit(record, entryAge, sex);
}

SwitchFlags paramSwitches(const std::string& directory, int group) {
  ParamRecord record;
  if (!readQuietly(directory, record)) return {};
  return paramSwitches(record, group);
}

SwitchFlags paramSwitches(const ParamRecord& record, int group) {
  SwitchFlags flags;
  flags.ok = true;

  // Each place is taken off once from the top, so a digit above 1 spills into the places below.
  std::uint32_t rest = record.u32(paramField("switchWord").offset);
  bool digit[9] = {};
  std::uint32_t place = 100000000;
  for (int power = 8; power >= 1; --power, place /= 10) {
    if (rest >= place) {
      digit[power] = true;
      rest -= place;
    }
  }
  digit[0] = rest != 0;

  if (group >= 1 && group <= 3) {
    const int lowest = 3 * (group - 1);
    flags.first = digit[lowest + 2];
    flags.third = digit[lowest + 1];
    flags.second = digit[lowest];
  }
  return flags;
}

AgeBounds paramAgeBounds(const std::string& directory, const std::string& contractKind) {
  AgeBounds bounds;
  ParamRecord record;
  if (!readQuietly(directory, record)) return bounds;
  bounds.ok = true;
  std::int16_t lower = 0;
  std::int16_t upper = 0;
  if (contractKind == "R") {
    lower = record.i16(paramField("ageMinR").offset);
    upper = record.i16(paramField("ageMaxR").offset);
  } else if (contractKind == "K") {
    lower = record.i16(paramField("ageMinK").offset);
    upper = record.i16(paramField("ageMaxK").offset);
  } else {
    lower = record.i16(paramField("ageMinOther").offset);
    upper = record.i16(paramField("ageMaxOther").offset);
  }
  if (lower > 0) bounds.lower = lower;
  if (upper > 0) bounds.upper = upper;
  return bounds;
}

double paramDiscount(const std::string& directory, double x, std::string& label) {
  constexpr double kDefaultFactor = 0.93;
  label.clear();
  if (!(x >= 0)) return kDefaultFactor;
  ParamRecord record;
  if (!readQuietly(directory, record)) return kDefaultFactor;
  const ParamField& factor = paramField("discount.factor");
  const ParamField& text = paramField("discount.label");
  // Levels beyond the record have nothing to read; treat them like an unreadable file.
  const double maxLevel = static_cast<double>((kParamRecordSize - text.offset) / text.stride);
  if (x >= maxLevel) return kDefaultFactor;
  const auto i = static_cast<std::size_t>(x);
  label = paramText(record, text, i);
  return record.u16(factor.at(i)) * 0.0001;
}

}  // namespace fondaris::core
