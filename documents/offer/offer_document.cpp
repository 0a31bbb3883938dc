#include "documents/offer/offer_document.h"

#include "documents/offer/offer_body.h"
#include "documents/offer/temp_folder.h"

namespace fondaris::documents {

OfferDocument::OfferDocument(core::Dialogs& dialogs, const core::Clock& clock, core::Shell& shell,
                             const std::string& outputPath)
    : dialogs_(dialogs),
      clock_(clock),
      shell_(shell),
      pdf_(PdfBinding::create()),
      outputPath_(outputPath),
      named_(!outputPath.empty()) {
  if (!pdf_) return;
  folder_ = offerFolder();
  pdf_->setErrorHandler(0,
                        [this](std::intptr_t, int, const std::string& message, std::uint32_t type) {
                          const PdfErrorLine line = pdfErrorLine(type, message);
                          std::string text = line.text;
                          if (!text.empty() && text.back() == '\n') text.pop_back();
                          lastError_ = message;
                          if (line.fatal) dialogs_.message(text, "Fehler bei Erstellung PDF");
                          appendErrorLog(folder_, text);
                          return 0;
                        });
  pdf_->createDocument();
  pdf_->setDocInfo(DocInfo::Creator, "AKDX2009");
  pdf_->setDocInfo(DocInfo::Title, "Angebot");
  pdf_->setDocInfo(DocInfo::Author, "KDX");
  pdf_->setDocOption(32, 0);
  pdf_->setDocOption(1);
  pdf_->setDocOption(1);
  pdf_->setDocOption(1, 16384);
  pdf_->setDocOption(static_cast<int>(0x80000000u));
  pdf_->setDocOption(0);
  removeOutdatedOffers(folder_, clock_.today());
  if (!named_) outputPath_ = folder_ + kOfferFileName;
}

OfferDocument::~OfferDocument() = default;

OfferResult OfferDocument::writeBody(const OfferDocumentInput& input,
                                     const engine::ProjectionResult& result,
                                     const engine::ProjectionResult& comparison) {
  if (!pdf_) return core::Failure{OfferError::NoLibrary};
  templateName_ = input.templateName;
  const OfferBodyResult body = writeOfferBody(*pdf_, input, result, comparison, dialogs_, clock_);
  unreplaced_ = body.unreplaced;
  if (!unreplaced_.empty()) {
    pdf_->raise(0, unreplacedReason(), kPdfFatalError);
    return core::Failure{OfferError::TextsUnreplaced};
  }
  if (!body.drawn) return core::Failure{OfferError::NotDrawn};
  return {};
}

std::string OfferDocument::unreplacedReason() const {
  std::string names;
  for (const std::string& text : unreplaced_) names += (names.empty() ? "'" : ", '") + text + "'";
  const bool one = unreplaced_.size() == 1;
  return "Das Angebot wurde nicht erstellt, " +
         std::string(one ? "der Platzhalter " : "die Platzhalter ") + names + " der Vorlage '" +
         templateName_ + "' " + (one ? "konnte" : "konnten") + " nicht ersetzt werden.";
}

OfferResult OfferDocument::finish() {
  written_ = false;
  if (!pdf_) return core::Failure{OfferError::NoLibrary};
  if (!unreplaced_.empty()) {
    // The body has said why; an offer with a placeholder left standing never goes out.
    pdf_.reset();
    return core::Failure{OfferError::TextsUnreplaced};
  }
  if (pdf_->pageCount() == 0) {
    // Without the template there is no offer: the last one stays and nothing is opened.
    std::string reason = "Das Angebot wurde nicht erstellt, die Vorlage '" + templateName_ +
                         "' konnte nicht geladen werden";
    if (!lastError_.empty()) reason += " (" + lastError_ + ")";
    pdf_->raise(0, reason + ".", kPdfFatalError);
    pdf_.reset();
    return core::Failure{OfferError::TemplateMissing};
  }
  pdf_->setOutputOption(4);
  written_ = pdf_->openOutputFile(outputPath_) && pdf_->closeFile() > 0;
  pdf_.reset();
  if (written_) return {};
  if (named_)
    dialogs_.message("Die Datei '" + outputPath_ + "' konnte nicht erzeugt werden!", "Fehler");
  return core::Failure{OfferError::CannotWrite};
}

void OfferDocument::openResult() {
  if (!written_) return;
  const core::OpenResult answer = shell_.open(outputPath_);
  if (answer == core::OpenResult::NoAssociation) {
    dialogs_.message("Keine Verknüpfung für '" + outputPath_ + "' gefunden!", "Fehler");
  } else if (answer == core::OpenResult::NotFound) {
    dialogs_.message("Die Datei '" + outputPath_ + "' nicht gefunden!", "Fehler");
  }
}

}  // namespace fondaris::documents
