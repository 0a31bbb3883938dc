// A saved offer file as "&Gespeichertes Angebot" loads it into the three forms, with the sample
// product data beside them.
#include <filesystem>
#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"
#include "offers/offer_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  static const bool prepared = [] {
    for (const char* file : {"Param.dat", "BLZ.DAT"})
      std::filesystem::copy_file(std::string(FONDARIS_PRODUCT_DIR) + "/" + file,
                                 core::joinPath(fuzz::scratchFolder(), file),
                                 std::filesystem::copy_options::overwrite_existing);
    core::setWorkingDirectory(fuzz::scratchFolder());
    return true;
  }();
  (void)prepared;

  core::ScriptedDialogs dialogs;
  core::FixedClock clock(2026, 12, 5);
  core::RecordingShell shell;
  forms::App app(forms::Services{dialogs, clock, shell});
  app.createForms();
  (void)offers::loadOfferBytes(app, fuzz::asText(data, size), "Angebot.txt");
  return 0;
}
