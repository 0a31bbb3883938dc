#pragma once

#include <memory>
#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/controls/form.h"
#include "forms/controls/presenter.h"
#include "forms/form_links.h"

namespace fondaris::forms {

class TfrmStartmaske;
class TfrmVermittler;
class TfrmVertagsdaten;
class TfrmAngebotsdaten;
class TfrmAngebotsdialog;
class TfrmPruefung;
class TfrmEinmalanlage;

// The services every form reaches through the App.
struct Services {
  core::Dialogs& dialogs;
  core::Clock& clock;
  core::Shell& shell;
};

// Holds the services and the forms of one interactive run. One form is visible at a time; the
// active form is the one last shown. Without a presenter everything runs headless.
class App final : public FormLinks {
 public:
  explicit App(Services services, Presenter* presenter = nullptr);
  ~App();

  // FormLinks.
  void showAgentData() override;
  void showCustomerData() override;
  void showApplicationData() override;
  void prepareContract() override;
  void openBlankApplication() override;
  std::string startCaption() const override;
  bool variantOffered(int variant) const override;
  bool variantChosen(int variant) const override;
  bool secondVariantChosen() const override;
  int agentCountryIndex() const override;
  std::string agentStartPayment(bool secondVariant) const override;
  const Control& contractStart() const override;

  core::Dialogs& dialogs() const { return services_.dialogs; }
  core::Clock& clock() const { return services_.clock; }
  core::Shell& shell() const { return services_.shell; }
  void setPresenter(Presenter* p) { presenter_ = p; }
  Presenter* presenter() const { return presenter_; }

  // The application title ("Fondaris").
  std::string title = "Fondaris";

  // Creates the forms in their fixed order (each may read the ones before it), runs their
  // FormCreate and makes the start screen the main form.
  void createForms();
  std::unique_ptr<TfrmStartmaske> frmStartmaske;
  std::unique_ptr<TfrmVermittler> frmVermittler;
  std::unique_ptr<TfrmVertagsdaten> frmVertagsdaten;
  std::unique_ptr<TfrmAngebotsdaten> frmAngebotsdaten;
  std::unique_ptr<TfrmAngebotsdialog> frmAngebotsdialog;
  std::unique_ptr<TfrmPruefung> frmPruefung;
  std::unique_ptr<TfrmEinmalanlage> frmEinmalanlage;

  // The main form: closing it ends the program. The first form registered is the main form.
  Form& mainForm() const { return *main_; }
  void setMainForm(Form& f) { main_ = &f; }
  Form* activeForm() const { return active_; }

  bool quitRequested() const { return quit_; }
  void quit();

  // Called by Form.
  void formShown(Form& f);
  void formHidden(Form& f);
  ModalResult runModal(Form& f);
  // Tests without a presenter answer modal forms through this script.
  std::function<ModalResult(Form&)> modalScript;

  // The offer file last saved or loaded; empty until then.
  std::string offerFile;

 private:
  Services services_;
  Presenter* presenter_;
  Form* main_ = nullptr;
  Form* active_ = nullptr;
  bool quit_ = false;
};

}  // namespace fondaris::forms
