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

namespace {

// One program session for all runs, as a user loads one saved offer after another into the same
// forms; creating the forms reads the product and bank data, which took most of each run.
struct Session {
  fondaris::core::ScriptedDialogs dialogs;
  fondaris::core::FixedClock clock{2026, 12, 5};
  fondaris::core::RecordingShell shell;
  fondaris::forms::App app{fondaris::forms::Services{dialogs, clock, shell}};
};

Session& session() {
  using namespace fondaris;
  static Session* const open = [] {
    for (const char* file : {"Param.dat", "BLZ.DAT"})
      std::filesystem::copy_file(std::string(FONDARIS_PRODUCT_DIR) + "/" + file,
                                 core::joinPath(fuzz::scratchFolder(), file),
                                 std::filesystem::copy_options::overwrite_existing);
    core::setWorkingDirectory(fuzz::scratchFolder());
    auto* created = new Session;
    created->app.createForms();
    return created;
  }();
  return *open;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Session& current = session();
  current.dialogs.clear();
  current.shell.opened.clear();
  (void)fondaris::offers::loadOfferBytes(current.app, fondaris::fuzz::asText(data, size),
                                         "Angebot.txt");
  return 0;
}
