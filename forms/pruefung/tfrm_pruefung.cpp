#include "forms/pruefung/tfrm_pruefung.h"

#include "forms/app.h"

namespace fondaris::forms {

TfrmPruefung::TfrmPruefung(App& app)
    : Form(app, "TfrmPruefung", "frmPruefung",
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
  app().showApplicationData();
}

void TfrmPruefung::sb_AbbruchClick(Control*) {
  close();
}

}  // namespace fondaris::forms
