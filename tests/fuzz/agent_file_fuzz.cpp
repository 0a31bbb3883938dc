// The agent data file "Vermitd.dat" and "SETUP.INI" as the agent form reads them, with the
// sample product data beside them.
#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// One program session for all runs, the agent form reading one file after another; creating the
// forms reads the product data, which took most of each run.
struct Session {
  fondaris::core::ScriptedDialogs dialogs;
  fondaris::core::FixedClock clock{2026, 12, 5};
  fondaris::core::RecordingShell shell;
  fondaris::forms::App app{fondaris::forms::Services{dialogs, clock, shell}};
};

Session& session() {
  using namespace fondaris;
  static Session* const open = [] {
    std::filesystem::copy_file(std::string(FONDARIS_PRODUCT_DIR) + "/Param.dat",
                               core::joinPath(fuzz::scratchFolder(), "Param.dat"),
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
  using namespace fondaris;
  Session& current = session();
  current.dialogs.clear();
  std::string_view input = fuzz::asText(data, size);
  // First line: the application form name in SETUP.INI; the rest: the agent file.
  fuzz::scratchFile("SETUP.INI", "[Setup]\r\nAF=" + std::string(fuzz::takeLine(input)) + "\r\n");
  fuzz::scratchFile("Vermitd.dat", input);
  (void)current.app.frmVermittler->readAgentFile();
  return 0;
}
