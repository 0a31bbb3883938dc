#include "forms/qt/binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

#include "forms/qt/key_codes.h"
#include "forms/qt/start_picture.h"

namespace fondaris::qt {

using forms::Control;
using forms::ControlKind;

namespace {

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}
std::string ss(const QString& s) {
  return s.toStdString();
}

const char* kindName(ControlKind k) {
  switch (k) {
    case ControlKind::Edit:
      return "Edit (QLineEdit)";
    case ControlKind::MaskEdit:
      return "MaskEdit (QLineEdit)";
    case ControlKind::ComboBox:
      return "ComboBox (QComboBox)";
    case ControlKind::ComboBoxInc:
      return "ComboBoxInc (QComboBox)";
    case ControlKind::CheckBox:
      return "CheckBox (QCheckBox)";
    case ControlKind::RadioButton:
      return "RadioButton (QRadioButton)";
    case ControlKind::Label:
      return "Label (QLabel)";
    case ControlKind::Button:
      return "Button (QPushButton)";
    case ControlKind::Memo:
      return "Memo (QPlainTextEdit)";
    case ControlKind::GroupBox:
      return "GroupBox (QGroupBox)";
    case ControlKind::PageControl:
      return "PageControl (QTabWidget)";
    case ControlKind::TabSheet:
      return "TabSheet (page of a QTabWidget)";
    case ControlKind::Timer:
      return "Timer (QTimer)";
    case ControlKind::Image:
      return "Image (QLabel)";
    case ControlKind::MenuItem:
      return "MenuItem (QAction)";
    case ControlKind::HotKey:
      return "HotKey (QKeySequenceEdit)";
  }
  return "?";
}

QTabWidget* tabWidgetOfPage(const QWidget* page) {
  QWidget* stack = page->parentWidget();
  if (!qobject_cast<QStackedWidget*>(stack)) return nullptr;
  return qobject_cast<QTabWidget*>(stack->parentWidget());
}

bool fits(ControlKind kind, QObject* o) {
  switch (kind) {
    case ControlKind::Edit:
    case ControlKind::MaskEdit:
      return qobject_cast<QLineEdit*>(o);
    case ControlKind::ComboBox:
    case ControlKind::ComboBoxInc:
      return qobject_cast<QComboBox*>(o);
    case ControlKind::CheckBox:
      return qobject_cast<QCheckBox*>(o);
    case ControlKind::RadioButton:
      return qobject_cast<QRadioButton*>(o);
    case ControlKind::Label:
    case ControlKind::Image:
      return qobject_cast<QLabel*>(o);
    case ControlKind::Button:
      return qobject_cast<QPushButton*>(o) || qobject_cast<QToolButton*>(o);
    case ControlKind::Memo:
      return qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o);
    case ControlKind::GroupBox:
      return qobject_cast<QGroupBox*>(o) || (qobject_cast<QFrame*>(o) && !qobject_cast<QLabel*>(o));
    case ControlKind::PageControl:
      return qobject_cast<QTabWidget*>(o);
    case ControlKind::TabSheet: {
      auto* w = qobject_cast<QWidget*>(o);
      return w && tabWidgetOfPage(w);
    }
    case ControlKind::Timer:
      return qobject_cast<QTimer*>(o);
    case ControlKind::MenuItem:
      return qobject_cast<QAction*>(o);
    case ControlKind::HotKey:
      return qobject_cast<QKeySequenceEdit*>(o);
  }
  return false;
}

// Kinds without anything to see: the binder makes their objects when the view has none.
bool bindersOwn(ControlKind kind) {
  return kind == ControlKind::Timer || kind == ControlKind::MenuItem || kind == ControlKind::HotKey;
}

// Objects of the view that stand for controls: named widgets, actions and timers. Names that
// Qt gives its own inner widgets start with "qt_" or "_q_"; the views name what stands for no
// control with a leading "_".
QList<QObject*> namedObjects(QWidget& window) {
  QList<QObject*> result;
  for (QObject* o : window.findChildren<QObject*>()) {
    const QString name = o->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || name.startsWith("_")) continue;
    // A tab bar names its own scroll buttons.
    if (qobject_cast<QTabBar*>(o->parent())) continue;
    if (o->isWidgetType() || qobject_cast<QAction*>(o) || qobject_cast<QTimer*>(o))
      result.push_back(o);
  }
  return result;
}

// Delphi-style edit mask ("!99/99/9999;1;_") as a Qt input mask; "/" and ":" stand for the
// date and time separators of the notation.
QString qtInputMask(const std::string& mask, QChar& blank) {
  const QString m = qs(mask);
  const QStringList parts = m.split(';');
  blank = parts.size() >= 3 && !parts[2].isEmpty() ? parts[2][0] : QChar('_');
  QString out;
  const QString pattern = parts.value(0);
  for (int i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    switch (c.unicode()) {
      case '!':
        break;
      case '9':
        out += '0';
        break;
      case '0':
        out += '9';
        break;
      case 'L':
        out += 'A';
        break;
      case 'l':
        out += 'a';
        break;
      case 'A':
        out += 'N';
        break;
      case 'a':
        out += 'n';
        break;
      case 'C':
        out += 'X';
        break;
      case 'c':
        out += 'x';
        break;
      case '#':
      case '>':
      case '<':
        out += c;
        break;
      case '/':
        out += '.';
        break;
      case '_':
        out += ' ';
        break;
      case '\\':
        if (i + 1 < pattern.size()) out += QString("\\") + pattern[++i];
        break;
      default:
        if (QString("AaNnXxDdHhBb[]{}").contains(c)) out += '\\';
        out += c;
    }
  }
  return out + ';' + blank;
}

// The text of a masked edit as the form logic sees it: unfilled places are blanks.
QString maskedText(const QLineEdit& e, QChar blank) {
  QString t = e.displayText();
  if (blank != ' ') t.replace(blank, ' ');
  return t;
}

// Digit places only (account numbers, bank codes): the widget refuses anything else, typed or
// pasted, before the form sees it.
void refuseNonDigits(const Control& c, QLineEdit& e) {
  if (c.digitsOnly() && !e.validator())
    e.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &e));
}

}  // namespace

QString mnemonicHtml(const QString& caption) {
  QString out;
  for (int i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i];
    if (c == '&' && i + 1 < caption.size()) {
      const QChar next = caption[++i];
      if (next == '&')
        out += "&amp;";
      else
        out += "<u>" + QString(next).toHtmlEscaped() + "</u>";
    } else {
      out += QString(c).toHtmlEscaped();
    }
  }
  return out;
}

QString withoutMnemonic(const QString& caption) {
  QString out;
  for (int i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

QStringList Binder::mismatches(const forms::Form& form, QWidget& window) {
  QStringList problems;
  QHash<QString, QList<QObject*>> byName;
  for (QObject* o : namedObjects(window)) byName[o->objectName()].push_back(o);
  QSet<QString> controlNames;
  for (const Control* c : form.controls()) {
    const QString name = qs(c->name());
    if (controlNames.contains(name)) problems << QString("%1: zwei Controls heißen so").arg(name);
    controlNames.insert(name);
    const QList<QObject*> objects = byName.value(name);
    if (objects.isEmpty()) {
      if (!bindersOwn(c->kind()))
        problems << QString("%1: kein Widget in der Ansicht (erwartet %2)")
                        .arg(name, kindName(c->kind()));
      continue;
    }
    if (objects.size() > 1)
      problems << QString("%1: %2 Objekte tragen diesen Namen").arg(name).arg(objects.size());
    if (!fits(c->kind(), objects.front()))
      problems << QString("%1: %2 passt nicht zu %3")
                      .arg(name, objects.front()->metaObject()->className(), kindName(c->kind()));
  }
  for (auto it = byName.begin(); it != byName.end(); ++it)
    if (!controlNames.contains(it.key()))
      problems << QString("%1: %2 in der Ansicht ohne Control im Formular %3")
                      .arg(it.key(), it.value().front()->metaObject()->className(),
                           qs(form.className()));
  problems.sort();
  return problems;
}

Binder::Binder(forms::Form& form, QWidget& window, std::function<void()> afterHandler)
    : QObject(&window), form_(form), window_(window), afterHandler_(std::move(afterHandler)) {
  QHash<QString, QObject*> byName;
  for (QObject* o : namedObjects(window)) byName.insert(o->objectName(), o);

  for (Control* c : form.controls()) {
    QObject* o = byName.value(qs(c->name()));
    if (!o) {
      if (c->kind() == ControlKind::Timer) {
        o = new QTimer(&window);
      } else if (c->kind() == ControlKind::MenuItem) {
        auto* action = new QAction(&window);
        window.addAction(action);
        o = action;
      } else {
        continue;  // a hot key without a widget: nothing to show
      }
      o->setObjectName(qs(c->name()));
    }
    adoptDesign(*c, o);
    bindControl(*c, o);
  }
  window.installEventFilter(this);
  if (form.designWidth <= 0 || form.designHeight <= 0) {
    const QSize hint = window.sizeHint();
    form.designWidth = hint.width();
    form.designHeight = hint.height();
  }
  refresh();
}

Binder::~Binder() = default;

QObject* Binder::objectFor(const Control& control) const {
  for (const Binding& b : bindings_)
    if (b.control == &control) return b.object;
  return nullptr;
}

// Captions and hints that the form leaves empty come from the view's design; a caption the form
// gives as designed but without the accelerator keeps the designed accelerator.
void Binder::adoptDesign(Control& c, QObject* o) {
  {
    QString designed;
    if (auto* b = qobject_cast<QAbstractButton*>(o))
      designed = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(o))
      designed = g->title();
    else if (auto* a = qobject_cast<QAction*>(o))
      designed = a->text();
    else if (auto* l = qobject_cast<QLabel*>(o); l && c.kind() == ControlKind::Label)
      designed = l->text();
    else if (c.kind() == ControlKind::TabSheet) {
      auto* page = static_cast<QWidget*>(o);
      QTabWidget* tabs = tabWidgetOfPage(page);
      designed = tabs->tabText(tabs->indexOf(page));
    }
    if (!designed.isEmpty() &&
        (c.caption().empty() || (c.caption() == ss(withoutMnemonic(designed)) &&
                                 designed.contains('&') && !qs(c.caption()).contains('&'))))
      c.setCaption(ss(designed));
  }
  if (c.hint().empty()) {
    if (auto* w = qobject_cast<QWidget*>(o); w && !w->toolTip().isEmpty())
      c.setHint(ss(w->toolTip()));
  }
}

void Binder::bindControl(Control& c, QObject* o) {
  bindings_.push_back({&c, o});
  controlOf_.insert(o, &c);
  if (auto* w = qobject_cast<QWidget*>(o)) w->installEventFilter(this);

  switch (c.kind()) {
    case ControlKind::Edit:
    case ControlKind::MaskEdit: {
      auto* e = static_cast<QLineEdit*>(o);
      if (c.kind() == ControlKind::MaskEdit && !c.mask().empty()) {
        QChar blank;
        e->setInputMask(qtInputMask(c.mask(), blank));
        e->setProperty("maskBlank", QVariant(blank));
      }
      refuseNonDigits(c, *e);
      connect(e, &QLineEdit::textEdited, this, [this, &c, e](const QString& t) {
        const QVariant blank = e->property("maskBlank");
        const QString text = blank.isValid() ? maskedText(*e, blank.toChar()) : t;
        run([&c, text] { c.userSetText(ss(text)); });
      });
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::ComboBoxInc: {
      auto* box = static_cast<QComboBox*>(o);
      box->setInsertPolicy(QComboBox::NoInsert);
      box->setMaxVisibleItems(20);
      connect(box, &QComboBox::activated, this, [this, &c, box](int index) {
        // Qt also "activates" a matching item when an edited text is finished; that is a leave
        // or Enter, not a choice from the list.
        if (box->property("finishingEdit").toBool()) return;
        run([&c, index] { c.userSelect(index); });
      });
      bindComboEdit(c, box);
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      static_cast<QAbstractButton*>(o)->setAutoExclusive(false);  // groups are the form's
      [[fallthrough]];
    case ControlKind::Button:
      // Enter presses the focused button as Space does, in a form as in a dialog.
      if (auto* push = qobject_cast<QPushButton*>(o); push && c.kind() == ControlKind::Button)
        push->setAutoDefault(true);
      connect(static_cast<QAbstractButton*>(o), &QAbstractButton::clicked, this,
              [this, &c] { run([&c] { c.userClick(); }); });
      break;
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(o);
      if (c.onClick) {
        label->setCursor(Qt::PointingHandCursor);
        const QKeySequence key = QKeySequence::mnemonic(qs(c.caption()));
        if (!key.isEmpty()) {
          auto* shortcut = new QShortcut(key, &window_);
          connect(shortcut, &QShortcut::activated, this, [this, &c, label] {
            if (label->isVisibleTo(&window_) && label->isEnabled()) run([&c] { c.userClick(); });
          });
        }
      }
      break;
    }
    case ControlKind::Memo:
      if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
        connect(p, &QPlainTextEdit::textChanged, this,
                [this, &c, p] { run([&c, p] { c.userSetText(ss(p->toPlainText())); }); });
      } else if (auto* t = qobject_cast<QTextEdit*>(o)) {
        connect(t, &QTextEdit::textChanged, this,
                [this, &c, t] { run([&c, t] { c.userSetText(ss(t->toPlainText())); }); });
      }
      break;
    case ControlKind::PageControl:
      connect(static_cast<QTabWidget*>(o), &QTabWidget::currentChanged, this, [this, &c](int i) {
        run([&c, i] {
          c.setActivePage(i);
          if (c.onChange) c.onChange(&c);
        });
      });
      break;
    case ControlKind::Timer:
      connect(static_cast<QTimer*>(o), &QTimer::timeout, this, [this, &c] { timerTick(c); });
      break;
    case ControlKind::MenuItem:
      connect(static_cast<QAction*>(o), &QAction::triggered, this,
              [this, &c] { run([&c] { c.userClick(); }); });
      break;
    case ControlKind::Image:
      static_cast<QLabel*>(o)->setScaledContents(true);
      break;
    case ControlKind::GroupBox:
    case ControlKind::TabSheet:
    case ControlKind::HotKey:
      break;
  }
  if (c.cancel()) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window_);
    connect(escape, &QShortcut::activated, this, [this, &c] {
      if (c.showing() && c.enabled()) run([&c] { c.userClick(); });
    });
  }
}

void Binder::bindComboEdit(Control& c, QObject* o) {
  auto* box = static_cast<QComboBox*>(o);
  box->setEditable(!c.dropDownList());
  if (QLineEdit* edit = box->lineEdit()) {
    box->setCompleter(nullptr);  // the program's combo box completes on its own
    refuseNonDigits(c, *edit);
    connect(edit, &QLineEdit::textEdited, this,
            [this, &c](const QString& t) { run([&c, t] { c.userSetText(ss(t)); }); });
  }
}

void Binder::timerTick(Control& c) {
  if (!c.enabled()) return;
  // A dialog is open: the tick waits for the next interval, so boxes do not pile up.
  if (QApplication::activeModalWidget()) return;
  run([&c] {
    if (c.onTimer) c.onTimer(&c);
  });
}

void Binder::run(const std::function<void()>& action) {
  ++depth_;
  action();
  --depth_;
  if (afterHandler_)
    afterHandler_();
  else
    refresh();
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    switch (event->type()) {
      case QEvent::Close:
        // The form decides: its close handler runs, and hiding or quitting follows from it.
        event->ignore();
        run([this] { form_.close(); });
        return true;
      case QEvent::Move:
      case QEvent::Resize:
        if (!applyingGeometry_ && window_.isVisible()) {
          form_.geometry.top = window_.y();
          form_.geometry.left = window_.x();
          form_.geometry.height = window_.height();
          form_.geometry.width = window_.width();
        }
        break;
      default:
        break;
    }
    return false;
  }
  Control* c = controlOf_.value(watched);
  if (!c) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (form_.focused() != c) run([this, c] { form_.focus(c); });
      break;
    case QEvent::FocusOut:
    case QEvent::KeyPress:
      if (auto* box = qobject_cast<QComboBox*>(watched)) {
        const bool finishing = event->type() == QEvent::FocusOut ||
                               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter;
        if (finishing && box->isEditable()) {
          box->setProperty("finishingEdit", true);
          QTimer::singleShot(0, box, [box] { box->setProperty("finishingEdit", false); });
        }
      }
      break;
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // An unhandled release travels up the parents; only the focus widget's counts.
      if (key->isAutoRepeat() || watched != QApplication::focusWidget()) break;
      if (c->kind() != ControlKind::ComboBoxInc) break;
      auto* box = static_cast<QComboBox*>(watched);
      const int vk = virtualKeyCode(*key);
      if (QLineEdit* edit = box->lineEdit()) {
        if (edit->hasSelectedText())
          c->setSelection(edit->selectionStart(), static_cast<int>(edit->selectedText().size()));
        else
          c->setSelection(edit->cursorPosition(), 0);
      }
      const bool shift = key->modifiers() & Qt::ShiftModifier;
      const bool controlOrAlt = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
      run([c, vk, shift, controlOrAlt, typed = typedText(*key)] {
        c->keyUp(vk, shift, controlOrAlt, typed);
      });
      refreshSelection(*c, box);
      break;
    }
    case QEvent::MouseButtonPress: {
      // The press gave the focus to the button, and the field's exit check took it back: it has
      // said why, and the click does not happen.
      auto* w = static_cast<QWidget*>(watched);
      if (c->kind() == ControlKind::Button && event->spontaneous() &&
          (w->focusPolicy() & Qt::ClickFocus) && w->isActiveWindow() &&
          QApplication::focusWidget() != w && form_.focused() != c)
        return true;
      break;
    }
    case QEvent::MouseButtonRelease:
      if (c->kind() == ControlKind::Label && c->onClick &&
          static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        run([c] { c->userClick(); });
        return true;
      }
      break;
    default:
      break;
  }
  return false;
}

void Binder::refreshSelection(Control& c, QObject* o) {
  auto* box = qobject_cast<QComboBox*>(o);
  if (!box || !box->lineEdit()) return;
  QLineEdit* edit = box->lineEdit();
  const int length = static_cast<int>(edit->text().size());
  const int start = std::clamp(c.selStart(), 0, length);
  const int count = std::clamp(c.selLength(), 0, length - start);
  if (count > 0)
    edit->setSelection(start, count);
  else
    edit->setCursorPosition(start);
}

void Binder::refresh() {
  window_.setWindowTitle(qs(form_.caption()));
  for (const Binding& b : bindings_)
    if (b.object) refreshControl(*b.control, b.object);
  refreshContainers();
  if (depth_ == 0 && window_.isVisible() && form_.focused()) {
    auto* w = qobject_cast<QWidget*>(objectFor(*form_.focused()));
    QWidget* current = QApplication::focusWidget();
    if (w && w->isVisible() && w->isEnabled() && current != w &&
        !(current && w->isAncestorOf(current)) && !QApplication::activeModalWidget())
      w->setFocus(Qt::OtherFocusReason);
  }
}

// Labels that stand for no control follow the visibility of their buddy; group boxes marked
// "autoHide" disappear when nothing bound inside them shows.
void Binder::refreshContainers() {
  for (QLabel* l : window_.findChildren<QLabel*>()) {
    if (controlOf_.contains(l) || !l->buddy()) continue;
    QWidget* buddy = l->buddy();
    if (Control* c = controlOf_.value(buddy)) l->setHidden(!c->visible());
  }
  for (QGroupBox* g : window_.findChildren<QGroupBox*>()) {
    if (!g->property("autoHide").toBool()) continue;
    bool any = false;
    for (const Binding& b : bindings_) {
      auto* w = qobject_cast<QWidget*>(b.object);
      if (w && g->isAncestorOf(w) && b.control->visible()) any = true;
    }
    g->setHidden(!any);
  }
}

void Binder::refreshControl(Control& c, QObject* o) {
  const QSignalBlocker blocker(o);
  auto* w = qobject_cast<QWidget*>(o);
  if (w && c.kind() != ControlKind::TabSheet) {
    if (w->isHidden() == c.visible()) w->setHidden(!c.visible());
    if (w->isEnabled() != c.enabled()) w->setEnabled(c.enabled());
    if (w->toolTip() != qs(c.hint())) w->setToolTip(qs(c.hint()));
  }
  const QString text = qs(c.text());
  const QString caption = qs(c.caption());
  switch (c.kind()) {
    case ControlKind::Edit:
    case ControlKind::MaskEdit: {
      auto* e = static_cast<QLineEdit*>(o);
      const QVariant blank = e->property("maskBlank");
      const QString shown = blank.isValid() ? maskedText(*e, blank.toChar()) : e->text();
      if (shown != text) {
        const int cursor = e->cursorPosition();
        e->setText(text);
        if (e->hasFocus()) e->setCursorPosition(std::min(cursor, int(text.size())));
      }
      const int maxLength = c.maxLength() > 0 ? c.maxLength() : 32767;
      if (!blank.isValid() && e->maxLength() != maxLength) e->setMaxLength(maxLength);
      if (e->isReadOnly() != c.readOnly()) e->setReadOnly(c.readOnly());
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::ComboBoxInc: {
      auto* box = static_cast<QComboBox*>(o);
      if (box->isEditable() == c.dropDownList()) bindComboEdit(c, box);
      QLineEdit* edit = box->lineEdit();
      const QSignalBlocker editBlocker(edit);
      auto& shownItems = shownItems_[&c];
      if (shownItems != c.items()) {
        box->clear();
        QStringList items;
        for (const std::string& item : c.items()) items << qs(item);
        box->addItems(items);
        shownItems = c.items();
      }
      if (!edit) {
        if (box->currentIndex() != c.itemIndex()) box->setCurrentIndex(c.itemIndex());
      } else if (box->currentText() != text) {
        if (c.itemIndex() >= 0 && box->itemText(c.itemIndex()) == text)
          box->setCurrentIndex(c.itemIndex());
        else
          box->setEditText(text);
      }
      if (edit && edit->isReadOnly() != c.readOnly()) edit->setReadOnly(c.readOnly());
      const int maxLength = c.maxLength() > 0 ? c.maxLength() : 32767;
      if (edit && edit->maxLength() != maxLength) edit->setMaxLength(maxLength);
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::Button: {
      auto* b = static_cast<QAbstractButton*>(o);
      if (b->text() != caption) b->setText(caption);
      if (b->isCheckable() && b->isChecked() != c.checked()) b->setChecked(c.checked());
      break;
    }
    case ControlKind::Label: {
      auto* l = static_cast<QLabel*>(o);
      // A buddy takes the accelerator; a clickable label shows it itself.
      QString shown = caption;
      Qt::TextFormat format = Qt::PlainText;
      if (!l->buddy() && c.onClick) {
        shown = mnemonicHtml(caption);
        format = Qt::RichText;
      } else if (!l->buddy()) {
        shown = withoutMnemonic(caption);
      }
      if (l->textFormat() != format) l->setTextFormat(format);
      if (l->text() != shown) l->setText(shown);
      break;
    }
    case ControlKind::Image: {
      auto* l = static_cast<QLabel*>(o);
      if (l->property("picture").toString() != text || l->pixmap().isNull()) {
        QPixmap picture = loadStartPicture(text);
        if (picture.isNull()) picture = sampleLogo(l->size().expandedTo(QSize(320, 200)));
        l->setPixmap(picture);
        l->setProperty("picture", text);
      }
      break;
    }
    case ControlKind::Memo:
      if (auto* p = qobject_cast<QPlainTextEdit*>(o); p && p->toPlainText() != text)
        p->setPlainText(text);
      else if (auto* t = qobject_cast<QTextEdit*>(o); t && t->toPlainText() != text)
        t->setPlainText(text);
      break;
    case ControlKind::GroupBox:
      if (auto* g = qobject_cast<QGroupBox*>(o); g && g->title() != caption) g->setTitle(caption);
      break;
    case ControlKind::PageControl: {
      auto* tabs = static_cast<QTabWidget*>(o);
      if (tabs->currentIndex() != c.activePage() && c.activePage() < tabs->count())
        tabs->setCurrentIndex(c.activePage());
      break;
    }
    case ControlKind::TabSheet: {
      auto* page = static_cast<QWidget*>(o);
      QTabWidget* tabs = tabWidgetOfPage(page);
      const int index = tabs->indexOf(page);
      const bool shown = c.visible() && c.tabVisible();
      if (tabs->isTabVisible(index) != shown) tabs->setTabVisible(index, shown);
      if (tabs->tabText(index) != caption) tabs->setTabText(index, caption);
      if (tabs->isTabEnabled(index) != c.enabled()) tabs->setTabEnabled(index, c.enabled());
      break;
    }
    case ControlKind::Timer: {
      auto* t = static_cast<QTimer*>(o);
      if (c.interval() > 0 && t->interval() != c.interval()) t->setInterval(c.interval());
      const bool run = c.enabled() && c.interval() > 0;
      if (run && !t->isActive()) t->start();
      if (!run && t->isActive()) t->stop();
      break;
    }
    case ControlKind::MenuItem: {
      auto* a = static_cast<QAction*>(o);
      if (a->text() != caption) a->setText(caption);
      // The menu entry's text names its shortcut ("F1").
      const QKeySequence key(text, QKeySequence::PortableText);
      if (a->shortcut() != key) a->setShortcut(key);
      a->setVisible(c.visible());
      a->setEnabled(c.enabled());
      break;
    }
    case ControlKind::HotKey:
      if (auto* k = qobject_cast<QKeySequenceEdit*>(o);
          k && k->keySequence().toString(QKeySequence::PortableText) != text)
        k->setKeySequence(QKeySequence(text, QKeySequence::PortableText));
      break;
  }
}

void Binder::applyGeometry() {
  applyingGeometry_ = true;
  const forms::Form::Geometry g = form_.geometry;
  const QSize minimum = window_.minimumSizeHint().expandedTo(window_.minimumSize());
  QSize size = window_.isVisible() || window_.testAttribute(Qt::WA_Resized) ? window_.size()
                                                                            : window_.sizeHint();
  if (g.width > 0 && g.height > 0) size = QSize(g.width, g.height);
  window_.resize(size.expandedTo(minimum));
  if (g.top != -999 && g.left != -999) {
    window_.move(g.left, g.top);
  } else if (QScreen* screen = window_.screen()) {
    const QRect area = screen->availableGeometry();
    window_.move(area.center() - QPoint(window_.width() / 2, window_.height() / 2));
  }
  applyingGeometry_ = false;
  // The form stores what is shown, even when the window is never moved afterwards.
  form_.geometry = {window_.y(), window_.x(), window_.height(), window_.width()};
}

}  // namespace fondaris::qt
