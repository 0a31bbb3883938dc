#pragma once

#include <string>
#include <string_view>

#include "offers/offer_session.h"

namespace fondaris::offers {

// The open offer as its 302 lines: Windows-1252, CR LF after every line.
std::string offerBytes(OfferSession session);

// Writes the open offer to `path` whole or not at all. On failure the message
// "konnte nicht erzeugt werden!" has been shown and false comes back.
bool saveOfferFile(OfferSession session, const std::string& path);

// Short: the file ended early; Damaged: a choice the file holds does not exist (the notice
// names its line). Both leave what could be read loaded.
enum class LoadResult { Loaded, Short, Damaged, Unreadable, UnknownFormat };

// Puts an offer file's bytes back into the three forms. `name` names the file in messages.
// A file whose first character is not "Z" changes nothing; a short file fills what it holds.
[[nodiscard]] LoadResult loadOfferBytes(OfferSession session, std::string_view bytes,
                                        const std::string& name);
[[nodiscard]] LoadResult loadOfferFile(OfferSession session, const std::string& path);

// The contract form's "Angebot &speichern": save dialog, folder remembered per user.
bool saveOfferWithDialog(OfferSession session);
// "Daten speichern?" answered with yes: to the offer's file when it has one, else as above.
bool saveOfferToItsFile(OfferSession session);
// The customer form's "&Gespeichertes Angebot": open dialog, then load.
void loadOfferWithDialog(OfferSession session);

// The folder the file dialogs start in: ZKDX.INI, section "Ablage-" + user, key "AZS4U".
std::string offerFolder();
void rememberOfferFolder(const std::string& chosenFile);

}  // namespace fondaris::offers
