// fondaris-offer OFFERFILE [-o:PDF]: the offer document of a saved offer file, made by the same
// form logic as the interactive program, without any window system.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/notation.h"
#include "core/param_record.h"
#include "core/shell.h"
#include "engine/batch_entry.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "offers/offer_file.h"
#include "program/app.h"

using namespace fondaris;

namespace {

constexpr const char* kCaption = "Angebotsprogramm";

// Names are taken from the folder the command was started in, and messages name the whole path.
std::string absolute(const std::string& name) {
  std::error_code ignored;
  const auto path = std::filesystem::absolute(name, ignored);
  return path.empty() ? name : path.string();
}

// The document never replaces the program, the product data or a file they name. The working
// folder's product data are the forms' own reading, read once for both.
bool isProgramFile(const std::string& name, program::App& app) {
  std::vector<std::string> own = {"/proc/self/exe"};
  const auto protect = [&own](const std::string& dir, const core::ParamRecord* param) {
    own.push_back(core::joinPath(dir, core::kParamFileName));
    if (!param) return;
    const auto named = engine::protectedFiles(dir, *param, {});
    own.insert(own.end(), named.begin(), named.end());
  };
  protect(core::workingDirectory(), app.productData(nullptr));
  // Started in its own folder, the program has one set of product data.
  if (!core::sameFile(core::workingDirectory(), core::programDirectory())) {
    core::ParamRecord param;
    const bool read = core::readParamRecord(core::programDirectory(), param).has_value();
    protect(core::programDirectory(), read ? &param : nullptr);
  }
  for (const std::string& file : own)
    if (core::sameFile(name, file)) return true;
  return false;
}

// Once every file is written and closed, the forms and the PDF library need not be torn down.
[[noreturn]] void exitNow(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace

int main(int argc, char** argv) {
  core::StderrDialogs dialogs;
  std::string offerName, pdfName;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("-o:", 0) == 0 || word.rfind("-O:", 0) == 0)
      pdfName = word.substr(3);
    else if (offerName.empty())
      offerName = word;
  }
  if (offerName.empty()) {
    dialogs.message("Aufruf: fondaris-offer ANGEBOTSDATEI [-o:PDF-DATEI]", kCaption);
    return 1;
  }
  offerName = absolute(offerName);
  if (!pdfName.empty()) pdfName = absolute(pdfName);

  // The forms work in German notation, as in the interactive program.
  core::notation() = core::Notation::german();
  core::SystemClock clock;
  core::NoShell shell;  // nothing is opened
  program::App app({dialogs, clock, shell});
  if (!pdfName.empty() && (isProgramFile(pdfName, app) || core::sameFile(pdfName, offerName))) {
    dialogs.message("Die Datei '" + pdfName + "' konnte nicht erzeugt werden!", "Fehler");
    return 1;
  }
  app.createForms();
  if (app.quitRequested()) return 1;  // product data unreadable; the reader has said why

  if (offers::loadOfferFile(app.offerSession(), offerName) != offers::LoadResult::Loaded) return 1;
  forms::TfrmAngebotsdaten& customer = *app.frmAngebotsdaten;
  forms::TfrmVertagsdaten& contract = *app.frmVertagsdaten;
  customer.sb_AngebotsbrechnungClick(nullptr);
  if (!contract.visible()) return 1;  // the customer form refused; its message names the field
  contract.lastOfferPath.clear();
  // Written where asked at once, so the offer folder's copy is neither made nor replaced.
  contract.offerOutputPath = pdfName;
  contract.sb_AngebotsbrechnungClick(nullptr);
  // Refused or not written: the forms or the document have said why.
  if (contract.lastOfferPath.empty()) exitNow(1);
  if (pdfName.empty()) std::printf("%s\n", contract.lastOfferPath.c_str());
  exitNow(0);
}
