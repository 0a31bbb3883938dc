// Line files (agent data, offers): Windows-1252 lines read from disk, written and read again.
#include "core/cp1252.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const auto lines = core::readTextLines(fuzz::scratchFile("zeilen.txt", fuzz::asText(data, size)));
  FUZZ_CHECK(lines.has_value());
  for (const std::string& line : *lines) FUZZ_CHECK(core::utf8Length(line) <= core::kMaxLineLength);
  return 0;
}
