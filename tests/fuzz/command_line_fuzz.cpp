// The command line: split into words, then the option map.
#include "app/option_map.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const auto words = app::splitCommandLine(fuzz::asText(data, size));
  FUZZ_CHECK(words.size() <= app::kMaxCommandWords);
  app::PARAMAP options;
  const int status = options.parse(words);
  FUZZ_CHECK(status >= -1 && status <= static_cast<int>(words.size()));
  (void)options.lookup("i");
  (void)options.lookup("o");

  std::vector<const char*> argv{"fondaris"};
  for (const auto& w : words) argv.push_back(w.c_str());
  (void)app::commandWords(static_cast<int>(argv.size()), argv.data());
  return 0;
}
