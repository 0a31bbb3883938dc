#pragma once

#include <string>

#include "forms/controls/form_host.h"
#include "forms/form_set.h"

namespace fondaris::offers {

// What an offer file is read from and written to: the session's forms, the services of their
// host (dialogs, clock) and the offer file last saved or loaded (empty until then).
struct OfferSession {
  forms::FormSet& forms;
  forms::FormHost& host;
  std::string& lastFile;
};

}  // namespace fondaris::offers
