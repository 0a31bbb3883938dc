// The agent data file "Vermitd.dat" and "SETUP.INI" as the agent form reads them, with the
// sample product data beside them.
#include <filesystem>
#include <memory>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/app.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  static const bool prepared = [] {
    std::filesystem::copy_file(std::string(FONDARIS_PRODUCT_DIR) + "/Param.dat",
                               core::joinPath(fuzz::scratchFolder(), "Param.dat"),
                               std::filesystem::copy_options::overwrite_existing);
    core::setWorkingDirectory(fuzz::scratchFolder());
    return true;
  }();
  (void)prepared;
  std::string_view input = fuzz::asText(data, size);
  // First line: the application form name in SETUP.INI; the rest: the agent file.
  fuzz::scratchFile("SETUP.INI", "[Setup]\r\nAF=" + std::string(fuzz::takeLine(input)) + "\r\n");
  fuzz::scratchFile("Vermitd.dat", input);

  core::ScriptedDialogs dialogs;
  core::FixedClock clock(2026, 12, 5);
  core::RecordingShell shell;
  forms::App app(forms::Services{dialogs, clock, shell});
  app.createForms();
  (void)app.frmVermittler->readAgentFile();
  return 0;
}
