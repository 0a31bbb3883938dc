#pragma once

#include "core/clock.h"
#include "core/dialogs.h"
#include "documents/offer/offer_input.h"
#include "documents/pdf/pdf_binding.h"
#include "engine/projection.h"

namespace fondaris::documents {

// Builds the offer into an empty document: the template's three pages, the figures on pages 1
// and 3, continuation and annuity pages as needed, placeholders and page labels replaced.
// `comparison` is the same offer without the payment at the start. Answers true when the
// drawing calls succeeded; false at once when the template cannot be loaded (after the message).
bool writeOfferBody(PdfBinding& pdf, const OfferDocumentInput& input,
                    const engine::ProjectionResult& result,
                    const engine::ProjectionResult& comparison, core::Dialogs& dialogs,
                    const core::Clock& clock);

}  // namespace fondaris::documents
