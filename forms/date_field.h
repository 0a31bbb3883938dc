#pragma once

#include "core/dialogs.h"
#include "core/german.h"
#include "forms/controls/control.h"

namespace fondaris::forms {

using core::DateCheck;

// The date check of a masked date field: the unfilled mask (or no text at all) is Empty and
// shows nothing; anything else that is no date shows the date check's message.
[[nodiscard]] DateCheck checkDateField(const Control& field, core::DateTime& out,
                                       core::Dialogs& dialogs);

}  // namespace fondaris::forms
