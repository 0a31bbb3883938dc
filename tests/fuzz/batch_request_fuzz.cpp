// The whole batch path: request file -> rules -> projection -> result file, on the sample
// product data. Every request must end in a complete result file.
#include "core/dialogs.h"
#include "core/ini_file.h"
#include "engine/batch_entry.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/scripted_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const std::string request = fuzz::scratchFile("anfrage.ini", fuzz::asText(data, size));
  const std::string resultFile = core::joinPath(fuzz::scratchFolder(), "ergebnis.ini");
  static auto* result = new engine::ProjectionResult{};
  *result = engine::ProjectionResult{};
  test_support::ScriptedDialogs dialogs;
  const int status =
      engine::runBatchCalculation(*result, FONDARIS_PRODUCT_DIR, request, resultFile, dialogs);
  if (status == 0) {
    core::IniFile written(resultFile);
    FUZZ_CHECK(written.load());
    FUZZ_CHECK(written.readString("Berechnung", "Ende", "") == "1");
  }
  return 0;
}
