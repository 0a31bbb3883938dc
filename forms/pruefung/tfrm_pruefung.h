#pragma once

#include "forms/controls/form.h"

namespace fondaris::forms {

// Check result window: the findings of the completeness check, one per line.
class TfrmPruefung : public Form {
 public:
  explicit TfrmPruefung(FormHost& host);

  Memo txtHinweise{*this, "txtHinweise"};
  Button sb_Abbruch{*this, "sb_Abbruch"};

  void FormClose() override;

  void sb_AbbruchClick(Control* sender);
};

}  // namespace fondaris::forms
