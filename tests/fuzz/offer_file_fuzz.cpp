// A saved offer file as "&Gespeichertes Angebot" loads it into the three forms, with the sample
// product data beside them.
#include "offers/offer_file.h"
#include "tests/fuzz/form_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  fuzz::FormSession& session = fuzz::formSession({"Param.dat", "BLZ.DAT"});
  (void)offers::loadOfferBytes(session.app.offerSession(), fuzz::asText(data, size), "Angebot.txt");
  return 0;
}
