#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/result.h"
#include "core/shell.h"
#include "documents/offer/offer_input.h"
#include "documents/pdf/pdf_binding.h"
#include "engine/projection.h"

namespace fondaris::documents {

// Why no offer was written. The fatal error box has already named the reason to the agent.
enum class OfferError {
  NoLibrary,        // the PDF library could not start
  TextsUnreplaced,  // a template text could not be replaced
  NotDrawn,         // the body could not be drawn
  TemplateMissing,  // the template's pages could not be loaded
  CannotWrite,      // the output file could not be opened or written
};
using OfferResult = core::Result<void, OfferError>;

// "KDX2009.pdf" in the temporary folder, or where offerFolder() sends it when another user has
// taken that name in a shared temporary folder, or a file the caller names. The caller runs, in
// this order: construct (create), writeBody, finish, openResult only when finish succeeded, and
// lets the object go.
class OfferDocument {
 public:
  // Starts the library and an empty document, removes outdated offers from the offer's folder
  // and fixes the output path: `outputPath`, else "KDX2009.pdf" there. Without a library every
  // later step does nothing.
  OfferDocument(core::Dialogs& dialogs, const core::Clock& clock, core::Shell& shell,
                const std::string& outputPath = {});
  ~OfferDocument();

  // Fails, after a fatal error that names them and the template, when a template text could not
  // be replaced: such an offer is never written.
  OfferResult writeBody(const OfferDocumentInput& input, const engine::ProjectionResult& result,
                        const engine::ProjectionResult& comparison);
  // Writes the file; succeeds when it was written completely. A document without the template's
  // pages or with a text left unreplaced is never written: a fatal error names the reason and
  // the previous file stays. A file the caller named that cannot be written is reported; the
  // offer folder's only goes to the error log, as the library's other errors.
  OfferResult finish();
  // Opens the written file with its associated program; reports a missing association or file.
  void openResult();

  // Where the offer goes (and went): the GUI opens it there.
  const std::string& outputPath() const { return outputPath_; }
  // The folder of the offer, its error log and the clean-up.
  const std::string& folder() const { return folder_; }
  bool written() const { return written_; }
  bool hasLibrary() const { return pdf_ != nullptr; }

 private:
  // The fatal error's text for the template texts left unreplaced.
  std::string unreplacedReason() const;

  core::Dialogs& dialogs_;
  const core::Clock& clock_;
  core::Shell& shell_;
  std::unique_ptr<PdfBinding> pdf_;
  std::string folder_;
  std::string outputPath_;
  std::string templateName_;
  std::string lastError_;  // the library's last message, for the reason of a failure
  std::vector<std::string> unreplaced_;
  bool named_ = false;  // the caller named the output file
  bool written_ = false;
};

}  // namespace fondaris::documents
