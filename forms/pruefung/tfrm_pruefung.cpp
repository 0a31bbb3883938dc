#include "forms/pruefung/tfrm_pruefung.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/form_links.h"

namespace fondaris::forms {

TfrmPruefung::TfrmPruefung(FormHost& host)
    : Form(host, "TfrmPruefung", "frmPruefung",
           {Placement::PositionAndSize, Placement::PositionAndSize, true, false}) {
  setCaption("Prüfung");
  txtHinweise.setReadOnly(true);
  sb_Abbruch.setCaption("&OK");
  sb_Abbruch.setHint("Eingabe abbrechen");
  sb_Abbruch.setCancel(true);
  sb_Abbruch.onClick = on(&TfrmPruefung::sb_AbbruchClick);
  txtHinweise.onChooseLine = on(&TfrmPruefung::txtHinweiseChooseLine);
}

// Back to the form the check was started from; the findings stay until the next check.
void TfrmPruefung::FormClose() {
  links().showApplicationData();
}

void TfrmPruefung::sb_AbbruchClick(Control*) {
  close();
}

void TfrmPruefung::setFindings(std::vector<Finding> findings) {
  findings_ = std::move(findings);
  std::string text;
  for (const Finding& finding : findings_) text += (text.empty() ? "" : "\n") + finding.text;
  txtHinweise.setText(text);
  txtHinweise.setCaretLine(0);
}

void TfrmPruefung::chooseFinding(int line) {
  if (line < 0 || line >= static_cast<int>(findings_.size())) return;
  const std::string control = findings_[static_cast<std::size_t>(line)].control;
  if (control.empty()) return;
  close();
  links().showField(control);
}

void TfrmPruefung::txtHinweiseChooseLine(Control*) {
  chooseFinding(txtHinweise.caretLine());
}

}  // namespace fondaris::forms
