#pragma once

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/dialogs.h"
#include "documents/offer/offer_input.h"
#include "documents/pdf/pdf_binding.h"
#include "engine/projection.h"

namespace fondaris::documents {

struct OfferBodyResult {
  bool drawn = false;  // the drawing calls succeeded
  // Template texts that could not be replaced: a placeholder the template lacks, or any text
  // found but left as it stands. An offer with one of them must not go out.
  std::vector<std::string> unreplaced;
};

// Builds the offer into an empty document: the template's three pages, the figures on pages 1
// and 3, continuation and annuity pages as needed, then a page with the chart of the fund values
// by year, placeholders and page labels replaced.
// `comparison` is the same offer without the payment at the start. Stops at once when the
// template cannot be loaded (after the message).
OfferBodyResult writeOfferBody(PdfBinding& pdf, const OfferDocumentInput& input,
                               const engine::ProjectionResult& result,
                               const engine::ProjectionResult& comparison, core::Dialogs& dialogs,
                               const core::Clock& clock);

}  // namespace fondaris::documents
