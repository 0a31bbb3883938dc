// The readable source of "Param.dat": what it builds, its dump builds again byte for byte.
#include "core/param_record.h"
#include "core/param_source.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  core::ParamRecord first;
  const auto error = core::buildParamRecord(fuzz::asText(data, size), first);
  if (error) {
    FUZZ_CHECK(error->line >= 1 && !error->message.empty());
    return 0;
  }
  core::ParamRecord second;
  FUZZ_CHECK(!core::buildParamRecord(core::dumpParamRecord(first), second));
  FUZZ_CHECK(first.bytes() == second.bytes());
  return 0;
}
