#include "forms/controls/form.h"

#include "forms/controls/window_placement.h"

namespace fondaris::forms {

Form::Form(FormHost& host, std::string className, std::string settingsKey, WindowSettings window)
    : host_(host),
      className_(std::move(className)),
      settingsKey_(std::move(settingsKey)),
      window_(window) {}

void Form::create() {
  if (window_.restored != Placement::None) restorePosition(*this);
  if (window_.restored == Placement::PositionAndSize) restoreSize(*this);
  FormCreate();
}

void Form::storeWindowSettings() const {
  if (window_.stored != Placement::None) storePosition(*this);
  if (window_.stored == Placement::PositionAndSize) storeSize(*this);
}

void Form::deactivate() {
  if (window_.storeOnDeactivate) storeWindowSettings();
  FormDeactivate();
}

void Form::limitToLineFile(int maxLength) {
  for (Control* c : controls_) {
    const bool typed =
        c->kind() == ControlKind::Edit || c->kind() == ControlKind::MaskEdit ||
        ((c->kind() == ControlKind::ComboBox || c->kind() == ControlKind::ComboBoxInc) &&
         !c->dropDownList());
    if (!typed) continue;
    c->setWindows1252Only(true);
    if (c->maxLength() <= 0 || c->maxLength() > maxLength) c->setMaxLength(maxLength);
  }
}

void Form::lbStartHelpClick(Control* sender) {
  if (&host_.mainForm() != this) host_.mainForm().lbStartHelpClick(sender);
}

Control* Form::find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->name() == name) return c;
  return nullptr;
}

void Form::focus(Control* control) {
  if (control == focused_) return;
  Control* leaving = focused_;
  const bool checked = leaving && leaving == exitDone_;
  focused_ = control;
  exitDone_ = nullptr;
  if (leaving && leaving->onExit && !checked) leaving->onExit(leaving);
  if (control && control->onEnter) control->onEnter(control);
}

bool Form::exitBeforeAction(Control& button) {
  Control* field = focused_;
  if (!field || field == &button || field == exitDone_ || !field->onExit) return true;
  focused_ = &button;
  field->onExit(field);
  if (focused_ != &button) return false;
  focused_ = field;
  exitDone_ = field;
  return true;
}

void Form::edited(const Control& control) {
  if (&control == exitDone_) exitDone_ = nullptr;
}

void Form::leaveFocus() {
  focus(nullptr);
}

void Form::show() {
  const bool wasVisible = visible_;
  visible_ = true;
  if (!wasVisible) host_.formShown(*this);
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  host_.formHidden(*this);
}

void Form::close() {
  storeWindowSettings();
  FormClose();
  if (window_.closeEndsProgram && &host_.mainForm() != this) host_.mainForm().close();
  hide();
  if (&host_.mainForm() == this) host_.quit();
}

ModalResult Form::showModal() {
  modalResult = ModalResult::None;
  return host_.runModal(*this);
}

}  // namespace fondaris::forms
