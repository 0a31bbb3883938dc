// Amounts, dates and times as typed into the forms, in German and in C notation.
#include <cmath>

#include "core/dialogs.h"
#include "core/german.h"
#include "core/notation.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/scripted_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fondaris;
  const std::string_view text = fuzz::asText(data, size);
  static const core::Notation german = core::Notation::german();
  static const core::Notation plain = core::Notation::fromCurrentLocale();
  for (const core::Notation* n : {&german, &plain}) {
    const double amount = core::parseAmount(text, *n);
    if (std::isfinite(amount)) (void)core::formatAmount(amount, *n);
    double strict = 0;
    (void)core::parseStrictFloat(std::string(text), strict, *n);

    test_support::ScriptedDialogs dialogs;
    core::DateTime when{};
    if (core::parseDate(text, when, dialogs, *n) == core::DateCheck::Valid) {
      // A date the program accepts it can show and read again.
      const auto again = core::textToDate(core::formatDate(when, *n), *n);
      FUZZ_CHECK(again && *again == when);
    }
    (void)core::parseTime(text, when, dialogs, *n);
  }
  int whole = 0;
  (void)core::parseStrictInt(std::string(text), whole);
  return 0;
}
