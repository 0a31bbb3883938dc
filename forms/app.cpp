#include "forms/app.h"

#include "core/param_record.h"

#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/einmalanlage/tfrm_einmalanlage.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "offers/offer_file.h"

namespace fondaris::forms {

App::App(Services services, Presenter* presenter) : services_(services), presenter_(presenter) {}

App::~App() = default;

void App::createForms() {
  core::settleProductDataFolder();
  frmStartmaske = std::make_unique<TfrmStartmaske>(*this);
  setMainForm(*frmStartmaske);
  frmStartmaske->create();
  frmVermittler = std::make_unique<TfrmVermittler>(*this);
  frmVermittler->create();
  frmVertagsdaten = std::make_unique<TfrmVertagsdaten>(*this);
  frmVertagsdaten->create();
  frmVertagsdaten->saveOffer = [this] { return offers::saveOfferWithDialog(*this); };
  frmAngebotsdaten = std::make_unique<TfrmAngebotsdaten>(*this);
  frmAngebotsdaten->create();
  frmAngebotsdialog = std::make_unique<TfrmAngebotsdialog>(*this);
  frmAngebotsdialog->create();
  frmAngebotsdialog->saveOffer = [this] { return offers::saveOfferToItsFile(*this); };
  frmPruefung = std::make_unique<TfrmPruefung>(*this);
  frmPruefung->create();
  frmEinmalanlage = std::make_unique<TfrmEinmalanlage>(*this);
  frmEinmalanlage->create();

  // "An&trag" hands the contract's state to the application form's preparation.
  frmVertagsdaten->prepareApplicationForm = [this] {
    const TfrmVertagsdaten& contract = *frmVertagsdaten;
    ApplicationStart start;
    start.investmentPeriodIndex = contract.secondVariant() ? contract.cb_BZD2.itemIndex()
                                                           : contract.cb_Anlagedauer.itemIndex();
    start.paymentAtStart = contract.bankDetailsShown;
    start.paymentAtStartCaption = contract.bankDetailsCaption;
    start.singleInvestment = contract.hasSingleInvestment();
    start.banks = &contract.bankTable();
    frmAngebotsdialog->prepare(start);
  };
}

void App::showAgentData() {
  frmVermittler->show();
}

void App::showCustomerData() {
  frmAngebotsdaten->show();
}

void App::showApplicationData() {
  frmAngebotsdialog->show();
}

void App::prepareContract() {
  frmVertagsdaten->prepare();
}

void App::openBlankApplication() {
  frmAngebotsdaten->sb_FormularClick(nullptr);
}

bool App::secondVariantChosen() const {
  return frmAngebotsdaten && !frmAngebotsdaten->rbProd.checked();
}

std::string App::agentStartPayment(bool secondVariant) const {
  return (secondVariant ? frmVermittler->cb_ZuzahlKundeZSp : frmVermittler->cb_ZuzahlKunde).text();
}

std::string App::startCaption() const {
  return frmStartmaske->caption();
}

bool App::variantOffered(int variant) const {
  return (variant == 1 ? frmStartmaske->rbProd : frmStartmaske->rbProd1).visible();
}

bool App::variantChosen(int variant) const {
  return (variant == 1 ? frmStartmaske->rbProd : frmStartmaske->rbProd1).checked();
}

int App::agentCountryIndex() const {
  return frmVermittler->cbV_Land.itemIndex();
}

const Control& App::contractStart() const {
  return frmVertagsdaten->med_Vbeginn;
}

void App::quit() {
  quit_ = true;
  if (presenter_) presenter_->quit();
}

void App::formShown(Form& f) {
  if (active_ && active_ != &f) {
    active_->leaveFocus();
    active_->deactivate();
  }
  active_ = &f;
  if (presenter_) presenter_->formShown(f);
  f.FormActivate();
}

void App::formHidden(Form& f) {
  if (active_ == &f) {
    f.leaveFocus();
    f.deactivate();
    active_ = nullptr;
  }
  if (presenter_) presenter_->formHidden(f);
}

ModalResult App::runModal(Form& f) {
  Form* previous = active_;
  active_ = &f;
  f.FormActivate();
  ModalResult r = ModalResult::Cancel;
  if (presenter_)
    r = presenter_->runModal(f);
  else if (modalScript)
    r = modalScript(f);
  if (f.modalResult != ModalResult::None) r = f.modalResult;
  f.leaveFocus();
  f.deactivate();
  active_ = previous;
  return r;
}

}  // namespace fondaris::forms
