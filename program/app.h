#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/param_record.h"
#include "core/shell.h"
#include "forms/controls/form.h"
#include "forms/controls/presenter.h"
#include "forms/form_links.h"
#include "forms/form_set.h"
#include "offers/offer_file.h"

namespace fondaris::program {

using forms::Form;
using forms::ModalResult;

// The services every form reaches through its host.
struct Services {
  core::Dialogs& dialogs;
  core::Clock& clock;
  core::Shell& shell;
};

// One interactive run: the services, the forms and what links them. It is the one place that
// knows every form: it hosts them (FormHost), answers what one form asks of another (FormLinks)
// and wires the offer file and the forms data to their buttons. One form is visible at a time;
// the active form is the one last shown. Without a presenter everything runs headless.
class App final : public forms::FormSet, public forms::FormHost, public forms::FormLinks {
 public:
  explicit App(Services services, forms::Presenter* presenter = nullptr);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // FormHost.
  core::Dialogs& dialogs() const override { return services_.dialogs; }
  core::Clock& clock() const override { return services_.clock; }
  core::Shell& shell() const override { return services_.shell; }
  forms::FormLinks& links() override { return *this; }
  const core::ParamRecord* productData(core::Dialogs* messages) override;
  // The main form: closing it ends the program. The first form registered is the main form.
  Form& mainForm() const override { return *main_; }
  void formShown(Form& f) override;
  void formHidden(Form& f) override;
  ModalResult runModal(Form& f) override;
  void quit() override;

  // FormLinks.
  void showAgentData() override;
  void showCustomerData() override;
  void showApplicationData() override;
  void showContractData() override;
  void takeVariantChoice() override;
  void showFindings(const std::vector<forms::Finding>& findings) override;
  void showField(const std::string& control) override;
  forms::TopUpsEdit editTopUps(std::array<double, 51>& topUps, int open) override;
  void prepareContract() override;
  void openBlankApplication() override;
  std::string startCaption() const override;
  bool variantOffered(int variant) const override;
  bool variantChosen(int variant) const override;
  bool secondVariantChosen() const override;
  int agentCountryIndex() const override;
  std::string agentStartPayment(bool secondVariant) const override;
  const forms::Control& contractStart() const override;
  bool agentDataValid() const override;
  forms::AgentFacts agentFacts() const override;
  forms::CustomerFacts customerFacts() const override;
  void setHolderAge(int years) override;
  void setInsuredAge(int years) override;
  void loadOffer() override;
  std::vector<forms::FormsDataFile> formsData() const override;

  void setPresenter(forms::Presenter* p) { presenter_ = p; }
  forms::Presenter* presenter() const { return presenter_; }

  // The application title ("Fondaris").
  std::string title = "Fondaris";

  // Creates the forms in their fixed order, runs their FormCreate and makes the start screen the
  // main form.
  void createForms();

  void setMainForm(Form& f) { main_ = &f; }
  Form* activeForm() const { return active_; }
  bool quitRequested() const { return quit_; }

  // Tests without a presenter answer modal forms through this script.
  std::function<ModalResult(Form&)> modalScript;

  // What the offer file reads and writes: these forms, their services and the file last used.
  offers::OfferSession offerSession() { return {*this, *this, offerFile}; }
  // The offer file last saved or loaded; empty until then.
  std::string offerFile;

 private:
  Services services_;
  forms::Presenter* presenter_;
  Form* main_ = nullptr;
  Form* active_ = nullptr;
  bool quit_ = false;
  // The product data last read and the folder they came from.
  std::unique_ptr<core::ParamRecord> productData_;
  std::string productDataFolder_;
};

}  // namespace fondaris::program
