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
}

// Back to the form the check was started from; the findings stay until the next check.
void TfrmPruefung::FormClose() {
  links().showApplicationData();
}

void TfrmPruefung::sb_AbbruchClick(Control*) {
  close();
}

}  // namespace fondaris::forms
