#pragma once

#include <string>

class QKeyEvent;

namespace fondaris::qt {

// The Windows virtual-key code of a released key, as the program's combo box expects it; 0 for
// keys it has no code for.
int virtualKeyCode(const QKeyEvent& event);

// The text the key typed, UTF-8, as the keyboard layout made it (umlauts, AltGr characters and
// keypad signs included, which have no key code here); empty for keys that type none.
std::string typedText(const QKeyEvent& event);

// From now on a key pressed in a modal window (message box, question, file dialog, modal form)
// and released after that window has gone is not released anywhere: the press belonged to the
// dialog, and its release must not act again in the window below (Enter closing a warning would
// otherwise run the field's Enter event, and with it the same warning, once more). Idempotent.
void keepDialogKeysInTheirDialog();

}  // namespace fondaris::qt
