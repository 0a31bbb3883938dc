#include "forms/qt/key_codes.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace fondaris::qt {

namespace {

// Remembers, per key, the modal window its press went to; the release of that key anywhere else
// is dropped. Popups are not modal: a list closed with Enter still passes its release on.
class DialogKeyGuard final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (key->isAutoRepeat() || !widget) return false;
    QWidget* window = widget->window();
    if (type == QEvent::KeyPress) {
      // A press nobody took travels on to the parents, after whatever it started (a dialog
      // opened by Enter included) has run; only where it first landed counts.
      QWidget* landing = window->focusWidget() ? window->focusWidget() : window;
      if (widget != landing) return false;
      if (window->isModal())
        pressedIn_.insert(key->key(), window);
      else
        pressedIn_.remove(key->key());
      return false;
    }
    const auto pressed = pressedIn_.constFind(key->key());
    if (pressed == pressedIn_.constEnd()) return false;
    const bool elsewhere = pressed.value() != window;
    pressedIn_.erase(pressed);
    return elsewhere;
  }

 private:
  QHash<int, QPointer<QWidget>> pressedIn_;
};

}  // namespace

void keepDialogKeysInTheirDialog() {
  static QPointer<DialogKeyGuard> guard;
  QCoreApplication* application = QCoreApplication::instance();
  if (guard || !application) return;
  guard = new DialogKeyGuard(application);
  application->installEventFilter(guard);
}

int virtualKeyCode(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = event.modifiers() & Qt::KeypadModifier;
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    // German layouts send a comma on the keypad's decimal key, US layouts a point.
    if (key == Qt::Key_Comma || key == Qt::Key_Period) return 110;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 48 + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Clear:
      return 12;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Select:
      return 41;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Help:
      return 47;
    case Qt::Key_Comma:
      return 188;
    case Qt::Key_Minus:
      return 189;
    case Qt::Key_Period:
      return 190;
    default:
      break;
  }
  // On X11 a shifted digit arrives as its shifted character; the physical key still tells.
  const quint32 scan = event.nativeScanCode();
  if (scan >= 10 && scan <= 18) return '1' + static_cast<int>(scan - 10);
  if (scan == 19) return '0';
  if (scan == 59) return 188;
  if (scan == 60) return 190;
  return 0;
}

std::string typedText(const QKeyEvent& event) {
  return event.text().toStdString();
}

}  // namespace fondaris::qt
