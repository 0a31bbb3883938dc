#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "forms/controls/presenter.h"
#include "forms/qt/binder.h"

class QEventLoop;

namespace fondaris::qt {

// Shows the forms' views: one visible form at a time, modal runs in their own event loop,
// and the end of the program when the main form closes.
class QtPresenter final : public forms::Presenter {
 public:
  QtPresenter();
  ~QtPresenter() override;

  // Takes the view of `form` and binds it (the binder checks that view and form fit).
  Binder& add(forms::Form& form, std::unique_ptr<QWidget> view);
  // Binds `form` to the view `make` answers when the view is first needed (the form is shown or
  // its view asked for): the first window then waits for its own view only.
  using ViewMaker = std::function<std::unique_ptr<QWidget>()>;
  void addOnDemand(forms::Form& form, ViewMaker make);
  // The form's binder and view, made now when they were added on demand; null for a form
  // without a view.
  Binder* binder(const forms::Form& form);
  QWidget* view(const forms::Form& form);
  // Whether the form's view exists yet (asks without making it).
  bool viewMade(const forms::Form& form) const;

  // Refreshes every view from its form; a handler of one form may change another's controls.
  void refreshAll();

  forms::ModalResult runModal(forms::Form& form) override;
  void refresh(forms::Form& form) override;
  void formShown(forms::Form& form) override;
  void formHidden(forms::Form& form) override;
  void quit() override;

 private:
  struct View {
    std::unique_ptr<QWidget> window;
    Binder* binder = nullptr;
    forms::Form* form = nullptr;
    ViewMaker make;  // until the view is made
  };
  // The form's view, made now if it waits for its first need; null for none.
  View* made(const forms::Form& form);

  std::map<const forms::Form*, View> views_;
  std::vector<std::pair<forms::Form*, QEventLoop*>> modal_;
  bool refreshing_ = false;
};

}  // namespace fondaris::qt
