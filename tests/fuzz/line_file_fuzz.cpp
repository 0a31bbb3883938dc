// Line files (agent data, offers): Windows-1252 lines read from disk, written and read again.
#include "core/cp1252.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const auto lines = core::readTextLines(fuzz::scratchFile("zeilen.txt", fuzz::asText(data, size)));
  FUZZ_CHECK(lines.has_value());
  for (const std::string& line : *lines) FUZZ_CHECK(core::utf8Length(line) <= core::kMaxLineLength);

  // However many byte order marks lead the file, it reads as with one.
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  std::string_view bytes = fuzz::asText(data, size);
  while (bytes.starts_with(kMark)) bytes.remove_prefix(kMark.size());
  if (bytes.size() < fuzz::asText(data, size).size())
    FUZZ_CHECK(*lines == core::textLines(std::string(kMark) + std::string(bytes)));
  return 0;
}
