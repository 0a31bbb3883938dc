#pragma once

class QKeyEvent;

namespace fondaris::qt {

// The Windows virtual-key code of a released key, as the program's combo box expects it; 0 for
// keys it has no code for.
int virtualKeyCode(const QKeyEvent& event);

}  // namespace fondaris::qt
