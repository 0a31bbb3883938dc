// The agent data file "Vermitd.dat" and "SETUP.INI" as the agent form reads them, with the
// sample product data beside them.
#include <string>

#include "forms/vermittler/tfrm_vermittler.h"
#include "tests/fuzz/form_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  fuzz::FormSession& session = fuzz::formSession({"Param.dat"});
  std::string_view input = fuzz::asText(data, size);
  // First line: the application form name in SETUP.INI; the rest: the agent file.
  fuzz::scratchFile("SETUP.INI", "[Setup]\r\nAF=" + std::string(fuzz::takeLine(input)) + "\r\n");
  fuzz::scratchFile("Vermitd.dat", input);
  (void)session.app.frmVermittler->readAgentFile();
  return 0;
}
