#include "program/app.h"

#include "core/files.h"
#include "core/param_record.h"
#include "offers/forms_data.h"
#include "offers/offer_file.h"

namespace fondaris::program {

using namespace forms;

App::App(Services services, Presenter* presenter) : services_(services), presenter_(presenter) {}

App::~App() = default;

// The forms ask one after the other while they are created; the record is 455 KiB, so it is
// read once. A failed read is not kept: the next form asks again and may report it.
const core::ParamRecord* App::productData(core::Dialogs* messages) {
  const std::string& folder = core::workingDirectory();
  if (productData_ && productDataFolder_ == folder) return productData_.get();
  auto record = std::make_unique<core::ParamRecord>();
  if (const core::ParamReadResult read = core::readParamRecord(folder, *record); !read) {
    if (messages) messages->message(core::paramReadMessage(read.error()), "Fehler");
    return nullptr;
  }
  productData_ = std::move(record);
  productDataFolder_ = folder;
  return productData_.get();
}

void App::createForms() {
  core::settleProductDataFolder();
  frmStartmaske = std::make_unique<TfrmStartmaske>(*this);
  setMainForm(*frmStartmaske);
  frmStartmaske->create();
  frmVermittler = std::make_unique<TfrmVermittler>(*this);
  frmVermittler->create();
  frmVertagsdaten = std::make_unique<TfrmVertagsdaten>(*this);
  frmVertagsdaten->create();
  frmVertagsdaten->saveOffer = [this] { return offers::saveOfferWithDialog(offerSession()); };
  frmAngebotsdaten = std::make_unique<TfrmAngebotsdaten>(*this);
  frmAngebotsdaten->create();
  frmAngebotsdialog = std::make_unique<TfrmAngebotsdialog>(*this);
  frmAngebotsdialog->create();
  frmAngebotsdialog->saveOffer = [this] { return offers::saveOfferToItsFile(offerSession()); };
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

void App::showContractData() {
  frmVertagsdaten->show();
}

void App::takeVariantChoice() {
  frmAngebotsdaten->rbProd.setChecked(frmStartmaske->rbProd.checked());
  frmAngebotsdaten->rbProd1.setChecked(frmStartmaske->rbProd1.checked());
}

void App::showFindings(const std::vector<Finding>& findings) {
  frmPruefung->setFindings(findings);
  frmPruefung->show();
}

// The check window has closed, which shows the application form again.
void App::showField(const std::string& control) {
  frmAngebotsdialog->show();
  frmAngebotsdialog->showField(control);
}

TopUpsEdit App::editTopUps(std::array<double, 51>& topUps, int open) {
  return frmEinmalanlage->edit(topUps, open);
}

bool App::agentDataValid() const {
  return frmVermittler->agentDataValid();
}

AgentFacts App::agentFacts() const {
  const TfrmVermittler& a = *frmVermittler;
  AgentFacts facts;
  facts.company = a.edV_Firma.text();
  facts.contact = a.edV_Ansprechpartner.text();
  facts.street = a.edV_Strasse.text();
  facts.postcode = a.edV_PLZ.text();
  facts.place = a.edV_Ort.text();
  facts.fax = a.edV_FAX.text();
  facts.phone = a.edV_Telefon.text();
  facts.mobile = a.edV_Mobil.text();
  facts.email = a.edV_E_mail.text();
  facts.subNumber = a.edV_Vermittlernr2.text();
  facts.countryIndex = a.cbV_Land.itemIndex();
  facts.firstVariantDiscount = {a.cb_Rabat.visible(), a.cb_Rabat.text()};
  facts.secondVariantDiscount = {a.cb_RabatZSp.visible(), a.cb_RabatZSp.text()};
  return facts;
}

CustomerFacts App::customerFacts() const {
  const TfrmAngebotsdaten& c = *frmAngebotsdaten;
  CustomerFacts facts;
  PersonFacts& holder = facts.holder;
  holder.firstName = c.edVN_Vorname.text();
  holder.lastName = c.edVN_Nachname.text();
  holder.street = c.edVN_Strasse.text();
  holder.postcode = c.edVN_PLZ.text();
  holder.place = c.edVN_Ort.text();
  holder.country = c.cbVN_Land.text();
  holder.countryIndex = c.cbVN_Land.itemIndex();
  holder.salutationIndex = c.cbVN_Anrede.itemIndex();
  holder.birthDate = c.medVN_Geburtstag.text();
  holder.birthPlace = c.edVN_GebOrt.text();
  holder.birthCountry = c.edVN_GebLand.text();
  holder.birthName = c.edVN_GebName.text();
  holder.maritalStatus = c.cbVN_Stand.text();
  holder.nationality = c.edVN_Nation.text();
  holder.age = c.cbVN_Alter.text();
  holder.ageChosen = c.rbVN_Alter.checked();
  PersonFacts& insured = facts.insured;
  insured.firstName = c.edVP_Vorname.text();
  insured.lastName = c.edVP_Nachname.text();
  insured.street = c.edVP_Strasse.text();
  insured.postcode = c.edVP_PLZ.text();
  insured.place = c.edVP_Ort.text();
  insured.country = c.cbVP_Land.text();
  insured.countryIndex = c.cbVP_Land.itemIndex();
  insured.salutationIndex = c.cbVP_Anrede.itemIndex();
  insured.birthDate = c.medVP_Geburtstag.text();
  insured.age = c.cbVP_Alter.text();
  insured.ageChosen = c.rbVP_Alter.checked();
  return facts;
}

void App::setHolderAge(int years) {
  frmAngebotsdaten->cbVN_Alter.setText(std::to_string(years));
}

void App::setInsuredAge(int years) {
  frmAngebotsdaten->cbVP_Alter.setText(std::to_string(years));
}

void App::loadOffer() {
  offers::loadOfferWithDialog(offerSession());
}

std::vector<FormsDataFile> App::formsData() const {
  return offers::formsDataFiles(*this, clock().today());
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

}  // namespace fondaris::program
