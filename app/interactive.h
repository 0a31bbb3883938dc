#pragma once

#include <string>

#include "core/notation.h"

namespace fondaris::qt {

// The warning about a system notation that is not German, empty when the system's decimal
// separator is a comma and its date separator a point.
std::string notationWarning(const core::Notation& system);

// Whether a window system can be reached: a display named in the environment, or a Qt platform
// chosen explicitly (offscreen, for instance).
bool windowSystemAvailable();

// The interactive program: title, German notation, the forms and their views, the notation hint,
// the event loop. Returns the exit code.
int runInteractive(int argc, char** argv);

}  // namespace fondaris::qt
