#pragma once

#include <string>
#include <vector>

#include "forms/controls/form.h"
#include "forms/form_links.h"

namespace fondaris::forms {

// Check result window: the findings of the completeness check, one per line. Choosing a line
// leads to the field it is about.
class TfrmPruefung : public Form {
 public:
  explicit TfrmPruefung(FormHost& host);

  Memo txtHinweise{*this, "txtHinweise"};
  Button sb_Abbruch{*this, "sb_Abbruch"};

  void FormClose() override;

  // Shows `findings`, one per line, and keeps what each is about.
  void setFindings(std::vector<Finding> findings);
  // The finding on `line` (from 0): the window closes and the application form shows its field.
  // A finding without a field, or no finding on that line, changes nothing.
  void chooseFinding(int line);

  void sb_AbbruchClick(Control* sender);
  void txtHinweiseChooseLine(Control* sender);

 private:
  std::vector<Finding> findings_;
};

}  // namespace fondaris::forms
