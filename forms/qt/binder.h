#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "forms/controls/form.h"

class QEvent;
class QWidget;

namespace fondaris::qt {

class Binder;
struct ControlAdapter;

// A control and the object of the view that shows it.
struct BoundControl {
  forms::Control* control;
  QPointer<QObject> object;
  const ControlAdapter* adapter;
  std::vector<std::string> shownItems;  // the list a combo box holds, so it is set only on change
};

// How one kind of control meets its widget; `adapterFor` has one per kind, so a new kind is one
// new adapter. Captions come only from the form: the views hold none (`Binder::textsInView`).
struct ControlAdapter {
  const char* widgetKind;  // "Edit (QLineEdit)", for the consistency check
  bool (*fits)(QObject* object);
  // Kinds without anything to see may lack their object in the view; `make` then makes it
  // (null: the control stays unbound).
  bool viewMayLack = false;
  QObject* (*make)(QWidget& window) = nullptr;
  // Widget signals → the control's events.
  void (*bind)(Binder& binder, forms::Control& control, QObject* object) = nullptr;
  // Control state → widget, with the object's signals blocked (null: nothing beyond the caption).
  void (*show)(Binder& binder, BoundControl& bound) = nullptr;
  // The caption (null: the kind has none), and the text the view itself gives it.
  void (*showCaption)(const forms::Control& control, QObject* object) = nullptr;
  QString (*captionInView)(QObject* object) = nullptr;
  // Shows visibility, enabled state and hint itself (a tab page does so on its tab).
  bool ownWidgetState = false;
  // Events of the widget only this kind reacts to; true when the event is used up.
  bool (*event)(Binder& binder, forms::Control& control, QObject* object, QEvent* event) = nullptr;
};

const ControlAdapter& adapterFor(forms::ControlKind kind);

// Connects one form of the control model to its view: every control has a widget (or timer,
// action) whose objectName is the control's name. User actions go to the controls, and after
// every handler the widgets are refreshed from the controls.
class Binder : public QObject {
  Q_OBJECT

 public:
  // The view must fit the form (see `mismatches`; views.h checks every view before binding).
  // `afterHandler` refreshes every view that a handler may have touched; by default this
  // binder's own.
  Binder(forms::Form& form, QWidget& window, std::function<void()> afterHandler = {});
  ~Binder() override;

  // Every way the view and the form disagree, one line each; empty when they fit.
  static QStringList mismatches(const forms::Form& form, QWidget& window);
  // Captions, hints and the window title an unbound view gives itself, one line each: they
  // belong to the form, which a run without windows reads as well.
  static QStringList textsInView(const forms::Form& form, QWidget& window);

  forms::Form& form() const { return form_; }
  QWidget& window() const { return window_; }
  QObject* objectFor(const forms::Control& control) const;
  template <class T>
  T* widget(const std::string& name) const {
    const forms::Control* c = form_.find(name);
    return c ? qobject_cast<T*>(objectFor(*c)) : nullptr;
  }

  // Control state → widgets, with signals blocked; item lists only when they changed.
  void refresh();
  // Window placement from the form's geometry: stored position, or centred on the screen; a
  // place or size the screen cannot show is brought onto it.
  void applyGeometry();
  void setAfterHandler(std::function<void()> f) { afterHandler_ = std::move(f); }
  // Runs a user action on the model, then refreshes.
  void run(const std::function<void()>& action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Moves (and where needed shrinks) a shown window that reaches beyond the screen back onto it.
  void keepOnScreen();
  void bindControl(forms::Control& control, QObject* object);
  void refreshControl(BoundControl& bound);
  void refreshContainers();

  forms::Form& form_;
  QWidget& window_;
  std::function<void()> afterHandler_;
  std::deque<BoundControl> bindings_;  // a deque: controlOf_ points into it
  QHash<QObject*, BoundControl*> controlOf_;
  bool applyingGeometry_ = false;
  int depth_ = 0;
};

// A caption with "&" accelerators as label rich text: the accelerator letter underlined,
// "&&" a plain ampersand.
QString mnemonicHtml(const QString& caption);
// The caption without its accelerator marks.
QString withoutMnemonic(const QString& caption);

}  // namespace fondaris::qt
