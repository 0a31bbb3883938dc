#include "bank/bundesbank_file.h"

#include <algorithm>

#include "bank/bank_file_layout.h"

namespace fondaris::bank {

namespace {

struct Column {
  std::size_t offset;
  std::size_t length;
};
constexpr Column kCode{0, 8};
constexpr Column kFeature{8, 1};
constexpr Column kName{9, 58};
constexpr Column kPostcode{67, 5};
constexpr Column kPlace{72, 35};
constexpr Column kShortName{107, 27};
constexpr Column kBic{139, 11};
constexpr Column kSuccessor{160, 8};
static_assert(kSuccessor.offset + kSuccessor.length == kBundesbankRecordLength);

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

// Fixed-width fields are padded with blanks.
std::string field(std::string_view record, Column c) {
  std::string_view s = record.substr(c.offset, c.length);
  const auto last = s.find_last_not_of(' ');
  return latin1ToUtf8(last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1));
}

bool isDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

BundesbankFile failure(std::size_t line, std::string message) {
  BundesbankFile out;
  out.error = "Zeile " + std::to_string(line) + ": " + message;
  return out;
}

}  // namespace

BundesbankFile parseBundesbankFile(std::string_view bytes) {
  BundesbankFile out;
  std::size_t lineNumber = 0;
  while (!bytes.empty()) {
    ++lineNumber;
    const std::size_t end = bytes.find('\n');
    std::string_view record = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
    if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
    // A last line without text (a closing line end, an end-of-file mark) is no record.
    if ((record.empty() || record == "\x1a") && bytes.empty()) break;
    if (record.size() != kBundesbankRecordLength) {
      return failure(lineNumber, "Der Datensatz hat " + std::to_string(record.size()) + " statt " +
                                     std::to_string(kBundesbankRecordLength) + " Zeichen.");
    }
    const std::string_view code = record.substr(kCode.offset, kCode.length);
    if (!isDigits(code)) {
      return failure(lineNumber,
                     "Die Bankleitzahl '" + latin1ToUtf8(code) + "' besteht nicht aus 8 Ziffern.");
    }
    if (out.slots.size() == kBankSlotCount) {
      ++out.dropped;
      continue;
    }
    out.slots.push_back({std::string(code), record[kFeature.offset], field(record, kName),
                         field(record, kPostcode), field(record, kPlace), field(record, kShortName),
                         field(record, kBic)});
  }
  return out;
}

}  // namespace fondaris::bank
