#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/controls/form.h"

class QWidget;
class QTimer;
class QAction;

namespace fondaris::qt {

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
  // Window placement from the form's geometry: stored position, or centred on the screen.
  void applyGeometry();
  void setAfterHandler(std::function<void()> f) { afterHandler_ = std::move(f); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Binding {
    forms::Control* control;
    QPointer<QObject> object;
  };

  void bindControl(forms::Control& control, QObject* object);
  void bindComboEdit(forms::Control& control, QObject* combo);
  void adoptDesign(forms::Control& control, QObject* object);
  void refreshControl(forms::Control& control, QObject* object);
  void refreshSelection(forms::Control& control, QObject* object);
  void refreshContainers();
  void timerTick(forms::Control& control);
  // Runs a user action on the model, then refreshes.
  void run(const std::function<void()>& action);

  forms::Form& form_;
  QWidget& window_;
  std::function<void()> afterHandler_;
  std::vector<Binding> bindings_;
  QHash<QObject*, forms::Control*> controlOf_;
  std::map<const forms::Control*, std::vector<std::string>> shownItems_;
  bool applyingGeometry_ = false;
  int depth_ = 0;
};

// A caption with "&" accelerators as label rich text: the accelerator letter underlined,
// "&&" a plain ampersand.
QString mnemonicHtml(const QString& caption);
// The caption without its accelerator marks.
QString withoutMnemonic(const QString& caption);

}  // namespace fondaris::qt
