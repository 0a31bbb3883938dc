#pragma once

#include <memory>

#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/einmalanlage/tfrm_einmalanlage.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::forms {

// The seven forms of one session. The program creates and owns them; what stands above the
// forms (the views, the offer file, the forms data) reaches them through this. No form does.
struct FormSet {
  std::unique_ptr<TfrmStartmaske> frmStartmaske;
  std::unique_ptr<TfrmVermittler> frmVermittler;
  std::unique_ptr<TfrmVertagsdaten> frmVertagsdaten;
  std::unique_ptr<TfrmAngebotsdaten> frmAngebotsdaten;
  std::unique_ptr<TfrmAngebotsdialog> frmAngebotsdialog;
  std::unique_ptr<TfrmPruefung> frmPruefung;
  std::unique_ptr<TfrmEinmalanlage> frmEinmalanlage;
};

}  // namespace fondaris::forms
