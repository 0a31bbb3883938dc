// The product parameter record from any bytes: the helpers the program reads it with, and its
// dump, which must build a record that dumps the same again.
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/param_source.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  // Short inputs fill the record from its start; the reader itself refuses them.
  static auto* bytes = new std::string(core::kParamRecordSize, '\0');
  const std::size_t n = std::min(size, core::kParamRecordSize);
  bytes->replace(0, n, fuzz::asText(data, n));
  core::ParamRecord record;
  FUZZ_CHECK(core::paramRecordFromBytes(*bytes, record));
  bytes->replace(0, n, n, '\0');
  FUZZ_CHECK(size >= core::kParamRecordSize ||
             !core::paramRecordFromBytes(fuzz::asText(data, size), record));

  for (int age : {-1, 0, 17, 99, 100})
    for (int sex : {0, 1}) (void)core::maxDeathBenefit(record, age, sex);
  for (const core::ParamField& field : core::kParamFields)
    for (std::size_t i = 0; i < field.count; ++i)
      field.isText() ? (void)core::paramText(record, field, i)
                     : (void)core::paramNumber(record, field, i);

  const std::string dump = core::dumpParamRecord(record);
  core::ParamRecord rebuilt;
  if (const auto error = core::buildParamRecord(dump, rebuilt)) {
    // A text filling its whole field has no terminator: the source refuses to write such a
    // text, naming line and field.
    FUZZ_CHECK(error->message.starts_with("Text zu lang"));
    return 0;
  }
  FUZZ_CHECK(core::dumpParamRecord(rebuilt) == dump);
  return 0;
}
