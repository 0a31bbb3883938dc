#include "forms/controls/form.h"

#include "forms/app.h"

namespace fondaris::forms {

Form::Form(App& app, std::string className, std::string settingsKey)
    : app_(app), className_(std::move(className)), settingsKey_(std::move(settingsKey)) {}

Control* Form::find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->name() == name) return c;
  return nullptr;
}

void Form::focus(Control* control) {
  if (control == focused_) return;
  Control* leaving = focused_;
  focused_ = control;
  if (leaving && leaving->onExit) leaving->onExit(leaving);
  if (control && control->onEnter) control->onEnter(control);
}

void Form::leaveFocus() {
  focus(nullptr);
}

void Form::show() {
  const bool wasVisible = visible_;
  visible_ = true;
  if (!wasVisible) app_.formShown(*this);
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  app_.formHidden(*this);
}

void Form::close() {
  FormClose();
  hide();
  if (&app_.mainForm() == this) app_.quit();
}

ModalResult Form::showModal() {
  modalResult = ModalResult::None;
  return app_.runModal(*this);
}

}  // namespace fondaris::forms
