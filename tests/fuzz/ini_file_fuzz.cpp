// INI files (requests, ZKDX.INI, SETUP.INI): parse, read typed values, write and parse again.
#include "core/cp1252.h"
#include "core/ini_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  core::IniFile ini;
  ini.parse(core::cp1252ToUtf8(fuzz::asText(data, size)));
  (void)ini.readInteger("Anfrage", "Beitrag", 0);
  (void)ini.readFloat("Anfrage", "WE1", 0);
  const std::string before = ini.readString("Anfrage", "Typ", "-");
  ini.writeString("Ergebnis", "Fehler", "Grüße");
  ini.writeInteger("Berechnung", "Ende", 1);

  // What the program writes, it reads back the same.
  core::IniFile again;
  again.parse(ini.text());
  FUZZ_CHECK(again.readString("Ergebnis", "Fehler", "") == "Grüße");
  FUZZ_CHECK(again.readInteger("Berechnung", "Ende", 0) == 1);
  FUZZ_CHECK(again.readString("Anfrage", "Typ", "-") == before);
  return 0;
}
