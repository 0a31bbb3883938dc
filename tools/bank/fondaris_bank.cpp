// fondaris-bank: the bank data file and IBANs for administrators.
//
//   fondaris-bank build BUNDESBANK_FILE OUT   Bundesbank bank code file -> bank data file
//   fondaris-bank lookup FILE BLZ             the bank as the program offers it
//   fondaris-bank iban BLZ KONTO              the IBAN of an account

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "bank/bank_slot.h"
#include "bank/bank_table.h"
#include "bank/bundesbank_file.h"
#include "bank/iban.h"
#include "core/dialogs.h"
#include "core/files.h"

namespace {

using namespace fondaris;

int fail(const std::string& message) {
  std::cerr << "fondaris-bank: " << message << "\n";
  return 1;
}

int build(const std::string& sourcePath, const std::string& outPath) {
  const auto source = core::readFileBytes(sourcePath);
  if (!source) return fail("Die Datei '" + sourcePath + "' kann nicht gelesen werden.");
  const bank::BundesbankFile parsed = bank::parseBundesbankFile(*source);
  if (parsed.error) return fail(sourcePath + ", " + *parsed.error);
  if (parsed.slots.empty()) return fail("Die Datei '" + sourcePath + "' enthält keine Datensätze.");
  if (parsed.dropped > 0) {
    std::cerr << "fondaris-bank: Nur die ersten " << parsed.slots.size()
              << " Datensätze werden übernommen, " << parsed.dropped << " entfallen.\n";
  }
  if (!bank::writeBankFile(outPath, parsed.slots)) {
    return fail("Die Datei '" + outPath + "' kann nicht geschrieben werden.");
  }
  std::size_t offered = 0;
  for (const bank::BankSlot& slot : parsed.slots) offered += slot.feature == '1' ? 1 : 0;
  std::cout << outPath << ": " << parsed.slots.size() << " Datensätze, davon " << offered
            << " mit Merkmal 1.\n";
  return 0;
}

// The bank table's messages as lines on standard error; any message means the file is unusable.
class CountingDialogs final : public core::StderrDialogs {
 public:
  void message(std::string_view text, std::string_view caption) override {
    ++count;
    StderrDialogs::message(text, caption);
  }
  bool askYesNo(std::string_view text, std::string_view caption) override {
    ++count;
    return StderrDialogs::askYesNo(text, caption);
  }
  int count = 0;
};

int lookup(const std::string& path, const std::string& code) {
  CountingDialogs dialogs;
  const bank::BankTable table = bank::loadBankTable(core::workingDirectory(), path, dialogs);
  if (dialogs.count > 0) return 1;
  if (table.count() == 0) return fail("Die Datei '" + path + "' enthält keine Bank.");
  const auto index = bank::findBankCode(table, code);
  if (!index) return fail("Die Bankleitzahl '" + code + "' ist in '" + path + "' nicht enthalten.");
  const bank::BankRecord& bank = table.records[*index];
  std::cout << "BLZ:             " << bank.code << "\n"
            << "Name:            " << bank.name << "\n"
            << "PLZ:             " << bank.postcode << "\n"
            << "Ort:             " << bank.place << "\n"
            << "Kurzbezeichnung: " << bank.shortName << "\n"
            << "BIC:             " << bank.bic << "\n";
  return std::cout.good() ? 0 : 1;
}

// Why no IBAN, as the tool's user reads it.
std::string refusalText(bank::IbanRefusal refusal, const std::string& code,
                        const std::string& account) {
  switch (refusal) {
    case bank::IbanRefusal::BankCodeLength:
      return "Die Bankleitzahl '" + code +
             "' hat weder 8 Ziffern (Deutschland) noch 5 Ziffern (Österreich).";
    case bank::IbanRefusal::CountryMismatch:
      return "Das Land passt nicht zur Bankleitzahl '" + code + "'.";
    case bank::IbanRefusal::AccountMissing:
      return "Die Kontonummer fehlt.";
    case bank::IbanRefusal::AccountNotDigits:
      return "Die Kontonummer '" + account + "' enthält andere Zeichen als Ziffern.";
    case bank::IbanRefusal::AccountTooLong:
      return "Die Kontonummer '" + account + "' hat mehr als 10 Ziffern.";
  }
  return {};
}

int iban(const std::string& code, const std::string& account) {
  const auto made = bank::makeIban(code, account);
  if (!made) return fail("Keine IBAN: " + refusalText(made.error(), code, account));
  std::cout << *made << "\n";
  return std::cout.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "build" && argc == 4) return build(argv[2], argv[3]);
  if (command == "lookup" && argc == 4) return lookup(argv[2], argv[3]);
  if (command == "iban" && argc == 4) return iban(argv[2], argv[3]);
  std::cerr << "Aufruf: fondaris-bank build BUNDESBANK_DATEI AUSGABE\n"
               "        fondaris-bank lookup DATEI BLZ\n"
               "        fondaris-bank iban BLZ KONTO\n";
  return 1;
}
