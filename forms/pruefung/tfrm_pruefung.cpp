#include "forms/pruefung/tfrm_pruefung.h"

#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/app.h"
#include "forms/window_placement.h"

namespace fondaris::forms {

TfrmPruefung::TfrmPruefung(App& app) : Form(app, "TfrmPruefung", "frmPruefung") {
  setCaption("Prüfung");
  txtHinweise.setReadOnly(true);
  sb_Abbruch.setCaption("&OK");
  sb_Abbruch.setHint("Eingabe abbrechen");
  sb_Abbruch.onClick = [this](Control* sender) { sb_AbbruchClick(sender); };
}

void TfrmPruefung::FormCreate() {
  restorePosition(*this);
  restoreSize(*this);
}

void TfrmPruefung::FormDeactivate() {
  storePosition(*this);
  storeSize(*this);
}

// Back to the form the check was started from; the findings stay until the next check.
void TfrmPruefung::FormClose() {
  storePosition(*this);
  storeSize(*this);
  app().frmAngebotsdialog->show();
}

void TfrmPruefung::sb_AbbruchClick(Control*) {
  close();
}

}  // namespace fondaris::forms
