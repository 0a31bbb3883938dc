#pragma once

#include "forms/controls/form.h"

namespace fondaris::forms {

// Window settings of a form under its settings key, per user (core/settings.h).
// The position is taken only when both stored values are at least 1.
void restorePosition(Form& form);
// The size is taken only where it is larger than the current (or designed) one.
void restoreSize(Form& form);
void storePosition(const Form& form);
void storeSize(const Form& form);

}  // namespace fondaris::forms
