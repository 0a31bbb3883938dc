#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/controls/form.h"

#include "offers/offer_session.h"

namespace fondaris::offers {

// The three forms whose values an offer file holds.
struct OfferForms {
  explicit OfferForms(OfferSession session);
  OfferSession session;
  forms::TfrmAngebotsdaten& customer;
  forms::TfrmVertagsdaten& contract;
  forms::TfrmAngebotsdialog& application;
  // The lines read so far while loading (line 1 first).
  std::vector<std::string> loaded;
};

enum class Where { None, Customer, Contract, Application };

// How one line is written and read back.
enum class Codec {
  Constant,     // `value`, skipped when read
  Text,         // an edit's text; a drop-down list goes to its first entry, then to the equal one
  Position,     // the selected entry counted from 0
  Date,         // a masked date "dd.mm.yyyy"
  Check,        // codes[0] when checked, codes[1] when not
  Radio,        // the code of the first selected of `controls`, `value` when none
  ListCode,     // codes[0] for position 0, codes[1] for any other
  SecondEntry,  // codes[0] for position 1, codes[1] for any other; read back by prefix codes[2]
  Custom,       // `write` and `read` below
};

struct OfferLine {
  int number = 0;
  Where where = Where::None;
  Codec codec = Codec::Constant;
  std::vector<std::string> controls;
  std::vector<std::string> codes;
  std::string value;
  // Custom lines.
  std::function<std::string(OfferForms&)> write;
  std::function<void(OfferForms&, const std::string&)> read;
  // Runs after the line was read on the first pass (handlers that follow a value).
  std::function<void(OfferForms&, const std::string&)> after;
};

inline constexpr int kOfferLines = 302;
inline constexpr const char* kOfferFormatLine = "Z 2.1 Z";

// Lines 1 to 302 in order: the one description both saving and loading walk.
const std::vector<OfferLine>& offerTable();

// The control a line names (index into `controls`), or nullptr when its form lacks it.
forms::Control* lineControl(OfferForms& f, const OfferLine& line, std::size_t index = 0);

std::string writeLine(OfferForms& f, const OfferLine& line);
// Puts one line back into its controls; text that does not fit leaves the field as it was.
void readLine(OfferForms& f, const OfferLine& line, const std::string& text);

}  // namespace fondaris::offers
