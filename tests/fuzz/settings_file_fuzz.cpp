// "ZKDX.INI" as the window-position helpers read and update it for the current user.
#include "core/settings.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  static const bool prepared = [] {
    core::setWorkingDirectory(fuzz::scratchFolder());
    return true;
  }();
  (void)prepared;
  fuzz::scratchFile(core::kWindowSettingsFile, fuzz::asText(data, size));
  (void)core::loadPosition("frmStartmaske");
  (void)core::loadSize("frmVertragsdaten");
  // A position stored over any old file reads back as stored.
  if (core::savePosition("frmStartmaske", 12, 34)) {
    const core::WindowPosition p = core::loadPosition("frmStartmaske");
    FUZZ_CHECK(p.top == 12 && p.left == 34);
  }
  return 0;
}
