#include "forms/qt/binder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
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
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

#include "forms/qt/key_codes.h"
#include "forms/qt/start_picture.h"
#include "forms/qt/view_kit.h"

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

QTabWidget* tabWidgetOfPage(const QWidget* page) {
  QWidget* stack = page->parentWidget();
  if (!qobject_cast<QStackedWidget*>(stack)) return nullptr;
  return qobject_cast<QTabWidget*>(stack->parentWidget());
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

void showWidgetState(const Control& c, QWidget& w) {
  if (w.isHidden() == c.visible()) w.setHidden(!c.visible());
  if (w.isEnabled() != c.enabled()) w.setEnabled(c.enabled());
  if (w.toolTip() != qs(c.hint())) w.setToolTip(qs(c.hint()));
}

// What the design gave a widget before the binder first changed it, kept under `key`.
int designed(QWidget& w, const char* key, int now) {
  const QVariant kept = w.property(key);
  if (kept.isValid()) return kept.toInt();
  w.setProperty(key, now);
  return now;
}

// Read-only figures are read and selected, never typed in: Tab passes them by, a click still
// selects (and a screen reader reads them as before).
void showTabStop(QWidget& w, bool readOnly) {
  // Kept on the first call, before a read-only state changes it.
  const int own = designed(w, "designedFocusPolicy", static_cast<int>(w.focusPolicy()));
  const auto policy = readOnly ? Qt::ClickFocus : static_cast<Qt::FocusPolicy>(own);
  if (w.focusPolicy() != policy) w.setFocusPolicy(policy);
}

// A figure is never cut: a read-only field grows beyond its designed width when its text needs it.
void showWhole(QLineEdit& e) {
  const int width = std::max(designed(e, "designedMinimumWidth", e.minimumWidth()),
                             kit::widthToShow(e, e.text()));
  if (e.maximumWidth() < width) e.setMaximumWidth(width);
  if (e.minimumWidth() != width) e.setMinimumWidth(width);
}

template <class T>
bool isA(QObject* o) {
  return qobject_cast<T*>(o);
}

// --- line edits ---

void bindLineEdit(Binder& binder, Control& c, QObject* o) {
  auto* e = static_cast<QLineEdit*>(o);
  if (c.kind() == ControlKind::MaskEdit && !c.mask().empty()) {
    QChar blank;
    e->setInputMask(qtInputMask(c.mask(), blank));
    e->setProperty("maskBlank", QVariant(blank));
  }
  refuseNonDigits(c, *e);
  QObject::connect(e, &QLineEdit::textEdited, &binder, [&binder, &c, e](const QString& t) {
    const QVariant blank = e->property("maskBlank");
    const QString text = blank.isValid() ? maskedText(*e, blank.toChar()) : t;
    binder.run([&c, text] { c.userSetText(ss(text)); });
  });
}

void showLineEdit(Binder&, BoundControl& b) {
  const Control& c = *b.control;
  auto* e = static_cast<QLineEdit*>(b.object.data());
  const QString text = qs(c.text());
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
  showTabStop(*e, c.readOnly());
  if (c.readOnly()) showWhole(*e);
}

// --- combo boxes ---

void bindComboEdit(Binder& binder, Control& c, QComboBox& box) {
  box.setEditable(!c.dropDownList());
  if (QLineEdit* edit = box.lineEdit()) {
    box.setCompleter(nullptr);  // the program's combo box completes on its own
    refuseNonDigits(c, *edit);
    QObject::connect(edit, &QLineEdit::textEdited, &binder, [&binder, &c](const QString& t) {
      binder.run([&c, t] { c.userSetText(ss(t)); });
    });
  }
}

void bindComboBox(Binder& binder, Control& c, QObject* o) {
  auto* box = static_cast<QComboBox*>(o);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(20);
  QObject::connect(box, &QComboBox::activated, &binder, [&binder, &c, box](int index) {
    // Qt also "activates" a matching item when an edited text is finished; that is a leave
    // or Enter, not a choice from the list.
    if (box->property("finishingEdit").toBool()) return;
    binder.run([&c, index] { c.userSelect(index); });
  });
  bindComboEdit(binder, c, *box);
}

void showComboBox(Binder& binder, BoundControl& b) {
  Control& c = *b.control;
  auto* box = static_cast<QComboBox*>(b.object.data());
  const QString text = qs(c.text());
  if (box->isEditable() == c.dropDownList()) bindComboEdit(binder, c, *box);
  QLineEdit* edit = box->lineEdit();
  const QSignalBlocker editBlocker(edit);
  if (b.shownItems != c.items()) {
    box->clear();
    QStringList items;
    for (const std::string& item : c.items()) items << qs(item);
    box->addItems(items);
    b.shownItems = c.items();
    // The open list shows its items whole, however narrow the box ("Anlage in Cash-Option …").
    QAbstractItemView* list = box->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) +
                          list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth());
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
  showTabStop(*box, edit && c.readOnly());
  const int maxLength = c.maxLength() > 0 ? c.maxLength() : 32767;
  if (edit && edit->maxLength() != maxLength) edit->setMaxLength(maxLength);
}

// Leaving an edited list or pressing Enter in it finishes the text; the activation Qt sends
// for it then is no choice from the list.
bool comboBoxEvent(Binder&, Control&, QObject* o, QEvent* event) {
  if (event->type() != QEvent::FocusOut && event->type() != QEvent::KeyPress) return false;
  auto* box = static_cast<QComboBox*>(o);
  const bool finishing = event->type() == QEvent::FocusOut ||
                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter;
  if (finishing && box->isEditable()) {
    box->setProperty("finishingEdit", true);
    QTimer::singleShot(0, box, [box] { box->setProperty("finishingEdit", false); });
  }
  return false;
}

void showSelection(const Control& c, QComboBox& box) {
  QLineEdit* edit = box.lineEdit();
  if (!edit) return;
  const int length = static_cast<int>(edit->text().size());
  const int start = std::clamp(c.selStart(), 0, length);
  const int count = std::clamp(c.selLength(), 0, length - start);
  if (count > 0)
    edit->setSelection(start, count);
  else
    edit->setCursorPosition(start);
}

// The program's combo box reacts to released keys, with the selection as the user left it.
bool comboBoxIncEvent(Binder& binder, Control& c, QObject* o, QEvent* event) {
  if (event->type() != QEvent::KeyRelease) return comboBoxEvent(binder, c, o, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // An unhandled release travels up the parents; only the focus widget's counts.
  if (key->isAutoRepeat() || o != QApplication::focusWidget()) return false;
  auto* box = static_cast<QComboBox*>(o);
  const int vk = virtualKeyCode(*key);
  if (QLineEdit* edit = box->lineEdit()) {
    if (edit->hasSelectedText())
      c.setSelection(edit->selectionStart(), static_cast<int>(edit->selectedText().size()));
    else
      c.setSelection(edit->cursorPosition(), 0);
  }
  const bool shift = key->modifiers() & Qt::ShiftModifier;
  const bool controlOrAlt = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  binder.run([&c, vk, shift, controlOrAlt, typed = typedText(*key)] {
    c.keyUp(vk, shift, controlOrAlt, typed);
  });
  showSelection(c, *box);
  return false;
}

// --- buttons, check boxes, radio buttons ---

void bindClicks(Binder& binder, Control& c, QObject* o) {
  QObject::connect(static_cast<QAbstractButton*>(o), &QAbstractButton::clicked, &binder,
                   [&binder, &c] { binder.run([&c] { c.userClick(); }); });
}

void bindCheckable(Binder& binder, Control& c, QObject* o) {
  static_cast<QAbstractButton*>(o)->setAutoExclusive(false);  // groups are the form's
  bindClicks(binder, c, o);
}

void bindButton(Binder& binder, Control& c, QObject* o) {
  // Enter presses the focused button as Space does, in a form as in a dialog.
  if (auto* push = qobject_cast<QPushButton*>(o)) push->setAutoDefault(true);
  bindClicks(binder, c, o);
}

void showChecked(Binder&, BoundControl& b) {
  auto* button = static_cast<QAbstractButton*>(b.object.data());
  if (button->isCheckable() && button->isChecked() != b.control->checked())
    button->setChecked(b.control->checked());
}

void showButtonCaption(const Control& c, QObject* o) {
  auto* b = static_cast<QAbstractButton*>(o);
  if (b->text() != qs(c.caption())) b->setText(qs(c.caption()));
}

QString buttonCaptionInView(QObject* o) {
  return static_cast<QAbstractButton*>(o)->text();
}

// The press gave the focus to the button, and the field's exit check took it back: it has said
// why, and the click does not happen.
bool buttonEvent(Binder&, Control& c, QObject* o, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return false;
  auto* w = static_cast<QWidget*>(o);
  return event->spontaneous() && (w->focusPolicy() & Qt::ClickFocus) && w->isActiveWindow() &&
         QApplication::focusWidget() != w && c.form().focused() != &c;
}

// --- labels and pictures ---

void bindLabel(Binder& binder, Control& c, QObject* o) {
  auto* label = static_cast<QLabel*>(o);
  if (!c.onClick) return;
  label->setCursor(Qt::PointingHandCursor);
  // A label that does something is a link: Tab reaches it, Enter or Space opens it.
  label->setFocusPolicy(Qt::StrongFocus);
  label->setProperty("link", true);
  // The form's style sheet marks a focused link; a property set after it needs a new look-up.
  label->style()->unpolish(label);
  label->style()->polish(label);
  const QKeySequence key = QKeySequence::mnemonic(qs(c.caption()));
  if (key.isEmpty()) return;
  auto* shortcut = new QShortcut(key, &binder.window());
  QObject::connect(shortcut, &QShortcut::activated, &binder, [&binder, &c, label] {
    if (label->isVisibleTo(&binder.window()) && label->isEnabled())
      binder.run([&c] { c.userClick(); });
  });
}

void showLabelCaption(const Control& c, QObject* o) {
  auto* l = static_cast<QLabel*>(o);
  const QString caption = qs(c.caption());
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
}

QString labelCaptionInView(QObject* o) {
  return static_cast<QLabel*>(o)->text();
}

bool opensLink(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

bool labelEvent(Binder& binder, Control& c, QObject*, QEvent* event) {
  // The event's kind first: while a view outlives its form, its events must not reach the form.
  if (opensLink(event) && c.onClick) {
    binder.run([&c] { c.userClick(); });
    return true;
  }
  if (event->type() != QEvent::MouseButtonRelease || !c.onClick ||
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
    return false;
  binder.run([&c] { c.userClick(); });
  return true;
}

void bindImage(Binder&, Control&, QObject* o) {
  static_cast<QLabel*>(o)->setScaledContents(true);
}

void showImage(Binder&, BoundControl& b) {
  auto* l = static_cast<QLabel*>(b.object.data());
  const QString text = qs(b.control->text());
  if (l->property("picture").toString() != text || l->pixmap().isNull()) {
    QPixmap picture = loadStartPicture(text);
    if (picture.isNull()) picture = sampleLogo(l->size().expandedTo(QSize(320, 200)));
    l->setPixmap(picture);
    l->setProperty("picture", text);
  }
}

// --- memos ---

bool isMemo(QObject* o) {
  return qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o);
}

// A read-only memo offers its lines to choose: a double-click on one (the viewport gets the
// mouse) or Enter on the caret's line.
template <class TextEdit>
class LineChooser : public QObject {
 public:
  LineChooser(Binder& binder, forms::Memo& memo, TextEdit& edit)
      : QObject(&edit), binder_(binder), memo_(memo), edit_(edit), viewport_(edit.viewport()) {
    edit.installEventFilter(this);
    viewport_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The event first, by pointers alone: a view outliving its form still sends events while it
    // is torn down, and then neither the memo nor the half-destroyed edit may be asked.
    const bool doubleClick = watched == viewport_ && event->type() == QEvent::MouseButtonDblClick;
    const bool keyPress = watched == &edit_ && event->type() == QEvent::KeyPress;
    if (!doubleClick && !keyPress) return false;
    if (!memo_.readOnly() || !memo_.onChooseLine) return false;
    if (doubleClick) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      choose(edit_.cursorForPosition(at).blockNumber());
      return true;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    choose(edit_.textCursor().blockNumber());
    return true;
  }

 private:
  void choose(int line) {
    binder_.run([this, line] { memo_.userChooseLine(line); });
  }

  Binder& binder_;
  forms::Memo& memo_;
  TextEdit& edit_;
  QWidget* viewport_;
};

void bindMemo(Binder& binder, Control& c, QObject* o) {
  auto& memo = static_cast<forms::Memo&>(c);
  if (auto* p = qobject_cast<QPlainTextEdit*>(o)) new LineChooser(binder, memo, *p);
  if (auto* t = qobject_cast<QTextEdit*>(o)) new LineChooser(binder, memo, *t);
  if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
    QObject::connect(p, &QPlainTextEdit::textChanged, &binder, [&binder, &c, p] {
      binder.run([&c, p] { c.userSetText(ss(p->toPlainText())); });
    });
  } else if (auto* t = qobject_cast<QTextEdit*>(o)) {
    QObject::connect(t, &QTextEdit::textChanged, &binder, [&binder, &c, t] {
      binder.run([&c, t] { c.userSetText(ss(t->toPlainText())); });
    });
  }
}

void showMemo(Binder&, BoundControl& b) {
  const QString text = qs(b.control->text());
  if (auto* p = qobject_cast<QPlainTextEdit*>(b.object); p && p->toPlainText() != text)
    p->setPlainText(text);
  else if (auto* t = qobject_cast<QTextEdit*>(b.object); t && t->toPlainText() != text)
    t->setPlainText(text);
}

// --- group boxes (a plain frame groups without a caption) ---

bool isGroup(QObject* o) {
  return qobject_cast<QGroupBox*>(o) || (qobject_cast<QFrame*>(o) && !qobject_cast<QLabel*>(o));
}

void showGroupCaption(const Control& c, QObject* o) {
  if (auto* g = qobject_cast<QGroupBox*>(o); g && g->title() != qs(c.caption()))
    g->setTitle(qs(c.caption()));
}

QString groupCaptionInView(QObject* o) {
  auto* g = qobject_cast<QGroupBox*>(o);
  return g ? g->title() : QString();
}

// --- page controls and their pages ---

void bindPageControl(Binder& binder, Control& c, QObject* o) {
  QObject::connect(static_cast<QTabWidget*>(o), &QTabWidget::currentChanged, &binder,
                   [&binder, &c](int i) {
                     binder.run([&c, i] {
                       c.setActivePage(i);
                       if (c.onChange) c.onChange(&c);
                     });
                   });
}

void showPageControl(Binder&, BoundControl& b) {
  auto* tabs = static_cast<QTabWidget*>(b.object.data());
  const Control& c = *b.control;
  if (tabs->currentIndex() != c.activePage() && c.activePage() < tabs->count())
    tabs->setCurrentIndex(c.activePage());
}

bool isTabPage(QObject* o) {
  auto* w = qobject_cast<QWidget*>(o);
  return w && tabWidgetOfPage(w);
}

void showTabSheet(Binder&, BoundControl& b) {
  auto* page = static_cast<QWidget*>(b.object.data());
  const Control& c = *b.control;
  QTabWidget* tabs = tabWidgetOfPage(page);
  const int index = tabs->indexOf(page);
  const bool shown = c.visible() && c.tabVisible();
  if (tabs->isTabVisible(index) != shown) tabs->setTabVisible(index, shown);
  if (tabs->isTabEnabled(index) != c.enabled()) tabs->setTabEnabled(index, c.enabled());
}

void showTabCaption(const Control& c, QObject* o) {
  auto* page = static_cast<QWidget*>(o);
  QTabWidget* tabs = tabWidgetOfPage(page);
  const int index = tabs->indexOf(page);
  if (tabs->tabText(index) != qs(c.caption())) tabs->setTabText(index, qs(c.caption()));
}

QString tabCaptionInView(QObject* o) {
  auto* page = static_cast<QWidget*>(o);
  QTabWidget* tabs = tabWidgetOfPage(page);
  return tabs->tabText(tabs->indexOf(page));
}

// --- timers, menu entries, hot keys ---

void bindTimer(Binder& binder, Control& c, QObject* o) {
  QObject::connect(static_cast<QTimer*>(o), &QTimer::timeout, &binder, [&binder, &c] {
    if (!c.enabled()) return;
    // A dialog is open: the tick waits for the next interval, so boxes do not pile up.
    if (QApplication::activeModalWidget()) return;
    binder.run([&c] {
      if (c.onTimer) c.onTimer(&c);
    });
  });
}

void showTimer(Binder&, BoundControl& b) {
  auto* t = static_cast<QTimer*>(b.object.data());
  const Control& c = *b.control;
  if (c.interval() > 0 && t->interval() != c.interval()) t->setInterval(c.interval());
  const bool run = c.enabled() && c.interval() > 0;
  if (run && !t->isActive()) t->start();
  if (!run && t->isActive()) t->stop();
}

QObject* makeAction(QWidget& window) {
  auto* action = new QAction(&window);
  window.addAction(action);
  return action;
}

void bindAction(Binder& binder, Control& c, QObject* o) {
  QObject::connect(static_cast<QAction*>(o), &QAction::triggered, &binder,
                   [&binder, &c] { binder.run([&c] { c.userClick(); }); });
}

void showAction(Binder&, BoundControl& b) {
  auto* a = static_cast<QAction*>(b.object.data());
  const Control& c = *b.control;
  // The menu entry's text names its shortcut ("F1").
  const QKeySequence key(qs(c.text()), QKeySequence::PortableText);
  if (a->shortcut() != key) a->setShortcut(key);
  a->setVisible(c.visible());
  a->setEnabled(c.enabled());
}

void showActionCaption(const Control& c, QObject* o) {
  auto* a = static_cast<QAction*>(o);
  if (a->text() != qs(c.caption())) a->setText(qs(c.caption()));
}

QString actionCaptionInView(QObject* o) {
  return static_cast<QAction*>(o)->text();
}

void showHotKey(Binder&, BoundControl& b) {
  const QString text = qs(b.control->text());
  if (auto* k = qobject_cast<QKeySequenceEdit*>(b.object);
      k && k->keySequence().toString(QKeySequence::PortableText) != text)
    k->setKeySequence(QKeySequence(text, QKeySequence::PortableText));
}

const ControlAdapter kEdit{.widgetKind = "Edit (QLineEdit)",
                           .fits = isA<QLineEdit>,
                           .bind = bindLineEdit,
                           .show = showLineEdit};
const ControlAdapter kMaskEdit{.widgetKind = "MaskEdit (QLineEdit)",
                               .fits = isA<QLineEdit>,
                               .bind = bindLineEdit,
                               .show = showLineEdit};
const ControlAdapter kComboBox{.widgetKind = "ComboBox (QComboBox)",
                               .fits = isA<QComboBox>,
                               .bind = bindComboBox,
                               .show = showComboBox,
                               .event = comboBoxEvent};
const ControlAdapter kComboBoxInc{.widgetKind = "ComboBoxInc (QComboBox)",
                                  .fits = isA<QComboBox>,
                                  .bind = bindComboBox,
                                  .show = showComboBox,
                                  .event = comboBoxIncEvent};
const ControlAdapter kCheckBox{.widgetKind = "CheckBox (QCheckBox)",
                               .fits = isA<QCheckBox>,
                               .bind = bindCheckable,
                               .show = showChecked,
                               .showCaption = showButtonCaption,
                               .captionInView = buttonCaptionInView};
const ControlAdapter kRadioButton{.widgetKind = "RadioButton (QRadioButton)",
                                  .fits = isA<QRadioButton>,
                                  .bind = bindCheckable,
                                  .show = showChecked,
                                  .showCaption = showButtonCaption,
                                  .captionInView = buttonCaptionInView};
const ControlAdapter kLabel{.widgetKind = "Label (QLabel)",
                            .fits = isA<QLabel>,
                            .bind = bindLabel,
                            .showCaption = showLabelCaption,
                            .captionInView = labelCaptionInView,
                            .event = labelEvent};
const ControlAdapter kButton{
    .widgetKind = "Button (QPushButton)",
    .fits = [](QObject* o) { return isA<QPushButton>(o) || isA<QToolButton>(o); },
    .bind = bindButton,
    .show = showChecked,
    .showCaption = showButtonCaption,
    .captionInView = buttonCaptionInView,
    .event = buttonEvent};
const ControlAdapter kMemo{
    .widgetKind = "Memo (QPlainTextEdit)", .fits = isMemo, .bind = bindMemo, .show = showMemo};
const ControlAdapter kGroupBox{.widgetKind = "GroupBox (QGroupBox)",
                               .fits = isGroup,
                               .showCaption = showGroupCaption,
                               .captionInView = groupCaptionInView};
const ControlAdapter kPageControl{.widgetKind = "PageControl (QTabWidget)",
                                  .fits = isA<QTabWidget>,
                                  .bind = bindPageControl,
                                  .show = showPageControl};
const ControlAdapter kTabSheet{.widgetKind = "TabSheet (page of a QTabWidget)",
                               .fits = isTabPage,
                               .show = showTabSheet,
                               .showCaption = showTabCaption,
                               .captionInView = tabCaptionInView,
                               .ownWidgetState = true};
const ControlAdapter kTimer{.widgetKind = "Timer (QTimer)",
                            .fits = isA<QTimer>,
                            .viewMayLack = true,
                            .make = [](QWidget& window) -> QObject* { return new QTimer(&window); },
                            .bind = bindTimer,
                            .show = showTimer};
const ControlAdapter kImage{
    .widgetKind = "Image (QLabel)", .fits = isA<QLabel>, .bind = bindImage, .show = showImage};
const ControlAdapter kMenuItem{.widgetKind = "MenuItem (QAction)",
                               .fits = isA<QAction>,
                               .viewMayLack = true,
                               .make = makeAction,
                               .bind = bindAction,
                               .show = showAction,
                               .showCaption = showActionCaption,
                               .captionInView = actionCaptionInView};
// A hot key without a widget has nothing to show.
const ControlAdapter kHotKey{.widgetKind = "HotKey (QKeySequenceEdit)",
                             .fits = isA<QKeySequenceEdit>,
                             .viewMayLack = true,
                             .show = showHotKey};

// The pages of `tabs` that can be shown, from the current one on by `step`, wrapping around.
void turnPage(QTabWidget& tabs, int step) {
  const int count = tabs.count();
  for (int i = 1; i < count; ++i) {
    const int page = ((tabs.currentIndex() + step * i) % count + count) % count;
    if (tabs.isTabVisible(page) && tabs.isTabEnabled(page)) {
      tabs.setCurrentIndex(page);
      return;
    }
  }
}

// Ctrl+Tab and Ctrl+PageDown turn to the next page of a paged form, with Shift or PageUp to the
// previous one, wherever the focus stands: a list would otherwise take Ctrl+PageDown as its own.
// The pages turned are those around the focus, else the window's first.
void addPageKeys(QWidget& window) {
  const QList<QTabWidget*> all = window.findChildren<QTabWidget*>();
  if (all.isEmpty()) return;
  const auto turn = [&window, first = all.front()](int step) {
    QTabWidget* tabs = nullptr;
    for (QWidget* w = QApplication::focusWidget(); w && !tabs && w != &window;
         w = w->parentWidget())
      tabs = qobject_cast<QTabWidget*>(w);
    turnPage(tabs ? *tabs : *first, step);
  };
  const std::pair<QKeyCombination, int> keys[] = {
      {Qt::CTRL | Qt::Key_Tab, 1},
      {Qt::CTRL | Qt::Key_PageDown, 1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
      {Qt::CTRL | Qt::Key_PageUp, -1},
  };
  for (const auto& [key, step] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    QObject::connect(shortcut, &QShortcut::activated, &window, [turn, step = step] { turn(step); });
  }
}

}  // namespace

const ControlAdapter& adapterFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
      return kEdit;
    case ControlKind::MaskEdit:
      return kMaskEdit;
    case ControlKind::ComboBox:
      return kComboBox;
    case ControlKind::ComboBoxInc:
      return kComboBoxInc;
    case ControlKind::CheckBox:
      return kCheckBox;
    case ControlKind::RadioButton:
      return kRadioButton;
    case ControlKind::Label:
      return kLabel;
    case ControlKind::Button:
      return kButton;
    case ControlKind::Memo:
      return kMemo;
    case ControlKind::GroupBox:
      return kGroupBox;
    case ControlKind::PageControl:
      return kPageControl;
    case ControlKind::TabSheet:
      return kTabSheet;
    case ControlKind::Timer:
      return kTimer;
    case ControlKind::Image:
      return kImage;
    case ControlKind::MenuItem:
      return kMenuItem;
    case ControlKind::HotKey:
      return kHotKey;
  }
  std::abort();
}

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
    const ControlAdapter& adapter = adapterFor(c->kind());
    const QString name = qs(c->name());
    if (controlNames.contains(name)) problems << QString("%1: zwei Controls heißen so").arg(name);
    controlNames.insert(name);
    const QList<QObject*> objects = byName.value(name);
    if (objects.isEmpty()) {
      if (!adapter.viewMayLack)
        problems << QString("%1: kein Widget in der Ansicht (erwartet %2)")
                        .arg(name, adapter.widgetKind);
      continue;
    }
    if (objects.size() > 1)
      problems << QString("%1: %2 Objekte tragen diesen Namen").arg(name).arg(objects.size());
    if (!adapter.fits(objects.front()))
      problems << QString("%1: %2 passt nicht zu %3")
                      .arg(name, objects.front()->metaObject()->className(), adapter.widgetKind);
  }
  for (auto it = byName.begin(); it != byName.end(); ++it)
    if (!controlNames.contains(it.key()))
      problems << QString("%1: %2 in der Ansicht ohne Control im Formular %3")
                      .arg(it.key(), it.value().front()->metaObject()->className(),
                           qs(form.className()));
  problems.sort();
  return problems;
}

QStringList Binder::textsInView(const forms::Form& form, QWidget& window) {
  QStringList problems;
  if (!window.windowTitle().isEmpty())
    problems << QString("Fenstertitel \"%1\" in der Ansicht").arg(window.windowTitle());
  QHash<QString, QObject*> byName;
  for (QObject* o : namedObjects(window)) byName.insert(o->objectName(), o);
  for (const Control* c : form.controls()) {
    QObject* o = byName.value(qs(c->name()));
    const ControlAdapter& adapter = adapterFor(c->kind());
    if (!o || !adapter.fits(o)) continue;  // `mismatches` names it
    if (adapter.captionInView && !adapter.captionInView(o).isEmpty())
      problems << QString("%1: Beschriftung \"%2\" in der Ansicht")
                      .arg(qs(c->name()), adapter.captionInView(o));
    if (auto* w = qobject_cast<QWidget*>(o); w && !w->toolTip().isEmpty())
      problems << QString("%1: Hinweis \"%2\" in der Ansicht").arg(qs(c->name()), w->toolTip());
  }
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
      const ControlAdapter& adapter = adapterFor(c->kind());
      if (!adapter.make) continue;
      o = adapter.make(window);
      o->setObjectName(qs(c->name()));
    }
    bindControl(*c, o);
  }
  window.installEventFilter(this);
  addPageKeys(window);
  if (form.designWidth <= 0 || form.designHeight <= 0) {
    const QSize hint = window.sizeHint();
    form.designWidth = hint.width();
    form.designHeight = hint.height();
  }
  refresh();
}

Binder::~Binder() = default;

QObject* Binder::objectFor(const Control& control) const {
  for (const BoundControl& b : bindings_)
    if (b.control == &control) return b.object;
  return nullptr;
}

void Binder::bindControl(Control& c, QObject* o) {
  const ControlAdapter& adapter = adapterFor(c.kind());
  bindings_.push_back({&c, o, &adapter, {}});
  BoundControl& bound = bindings_.back();
  controlOf_.insert(o, &bound);
  if (auto* w = qobject_cast<QWidget*>(o)) w->installEventFilter(this);
  if (adapter.bind) adapter.bind(*this, c, o);
  // The window's natural size counts the captions it will show.
  if (adapter.showCaption) adapter.showCaption(c, o);
  if (c.cancel()) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window_);
    connect(escape, &QShortcut::activated, this, [this, &c] {
      if (c.showing() && c.enabled()) run([&c] { c.userClick(); });
    });
  }
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
      case QEvent::Show:
        // Now the window system's frame is known.
        keepOnScreen();
        break;
      case QEvent::Resize:
        // A form that grows (columns shown) stays on the screen.
        keepOnScreen();
        [[fallthrough]];
      case QEvent::Move:
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
  BoundControl* bound = controlOf_.value(watched);
  if (!bound) return false;
  Control* c = bound->control;
  if (event->type() == QEvent::FocusIn) {
    if (form_.focused() != c) run([this, c] { form_.focus(c); });
    return false;
  }
  return bound->adapter->event && bound->adapter->event(*this, *c, watched, event);
}

void Binder::refresh() {
  window_.setWindowTitle(qs(form_.caption()));
  for (BoundControl& b : bindings_)
    if (b.object) refreshControl(b);
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
    if (BoundControl* b = controlOf_.value(buddy)) l->setHidden(!b->control->visible());
  }
  for (QGroupBox* g : window_.findChildren<QGroupBox*>()) {
    if (!g->property("autoHide").toBool()) continue;
    bool any = false;
    for (const BoundControl& b : bindings_) {
      auto* w = qobject_cast<QWidget*>(b.object);
      if (w && g->isAncestorOf(w) && b.control->visible()) any = true;
    }
    g->setHidden(!any);
  }
}

void Binder::refreshControl(BoundControl& b) {
  const QSignalBlocker blocker(b.object);
  const ControlAdapter& adapter = *b.adapter;
  if (auto* w = qobject_cast<QWidget*>(b.object); w && !adapter.ownWidgetState)
    showWidgetState(*b.control, *w);
  if (adapter.showCaption) adapter.showCaption(*b.control, b.object);
  if (adapter.show) adapter.show(*this, b);
}

namespace {

// What the window system adds around a window: measured once it is shown, else a title bar.
QSize frameExtra(const QWidget& window) {
  if (window.isVisible() && window.frameGeometry().size() != window.size())
    return window.frameGeometry().size() - window.size();
  return QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
}

}  // namespace

void Binder::applyGeometry() {
  applyingGeometry_ = true;
  const forms::Form::Geometry g = form_.geometry;
  const QSize minimum = window_.minimumSizeHint().expandedTo(window_.minimumSize());
  QSize size = window_.isVisible() || window_.testAttribute(Qt::WA_Resized) ? window_.size()
                                                                            : window_.sizeHint();
  if (g.width > 0 && g.height > 0) size = QSize(g.width, g.height);
  size = size.expandedTo(minimum);
  QScreen* screen = window_.screen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  QPoint place = area.center() - QPoint(size.width() / 2, size.height() / 2);
  if (g.top != -999 && g.left != -999) place = QPoint(g.left, g.top);
  // A stored place or size from another or a larger screen is brought onto this one.
  if (!area.isEmpty()) {
    const QSize extra = frameExtra(window_);
    const QRect fitted = kit::fitInto(QRect(place, size + extra), minimum + extra, area);
    place = fitted.topLeft();
    size = fitted.size() - extra;
  }
  window_.resize(size);
  window_.move(place);
  applyingGeometry_ = false;
  // The form stores what is shown, even when the window is never moved afterwards.
  form_.geometry = {window_.y(), window_.x(), window_.height(), window_.width()};
}

void Binder::keepOnScreen() {
  QScreen* screen = window_.screen();
  if (!screen || applyingGeometry_ || !window_.isVisible()) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = window_.frameGeometry();
  if (area.contains(frame)) return;
  const QSize extra = frame.size() - window_.size();
  const QSize minimum = window_.minimumSizeHint().expandedTo(window_.minimumSize());
  const QRect fitted = kit::fitInto(frame, minimum + extra, area);
  applyingGeometry_ = true;
  if (fitted.size() != frame.size()) window_.resize(fitted.size() - extra);
  if (fitted.topLeft() != frame.topLeft()) window_.move(fitted.topLeft());
  applyingGeometry_ = false;
}

}  // namespace fondaris::qt
