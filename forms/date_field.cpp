#include "forms/date_field.h"

namespace fondaris::forms {

namespace {
bool onlyMaskCharacters(const std::string& text) {
  const char separator = core::notation().dateSeparator;
  for (char c : text)
    if (c != ' ' && c != '_' && c != separator) return false;
  return true;
}
}  // namespace

DateCheck checkDateField(const Control& field, core::DateTime& out, core::Dialogs& dialogs) {
  if (onlyMaskCharacters(field.text())) return DateCheck::Empty;
  return core::parseDate(field.text(), out, dialogs);
}

}  // namespace fondaris::forms
