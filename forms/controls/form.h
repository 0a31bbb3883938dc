#pragma once

#include <string>
#include <vector>

#include "forms/controls/control.h"
#include "forms/controls/form_host.h"

namespace fondaris::forms {

// Window settings kept per user under the settings key: restored when the form is created,
// stored when it closes and, with `storeOnDeactivate`, whenever another form takes over.
enum class Placement { None, Position, PositionAndSize };
struct WindowSettings {
  Placement restored = Placement::None;
  Placement stored = Placement::None;
  bool storeOnDeactivate = false;
  // Closing this form closes the main form too, which ends the program.
  bool closeEndsProgram = false;
};

// Base of every form: its controls in creation order, focus with exit events, show/hide/close
// and the lifecycle hooks. Forms are created once and hidden and shown, never rebuilt.
class Form {
 public:
  // `className` as designed ("TfrmVermittler"), `settingsKey` for the window settings
  // ("frmVermittler").
  Form(FormHost& host, std::string className, std::string settingsKey, WindowSettings window = {});
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  FormHost& host() const { return host_; }
  // The other forms, as far as this one may reach them.
  FormLinks& links() const { return host_.links(); }
  const std::string& className() const { return className_; }
  const std::string& settingsKey() const { return settingsKey_; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { caption_ = c; }
  bool visible() const { return visible_; }

  // Window geometry as the presentation reports it (and as restored from the settings).
  struct Geometry {
    int top = -999, left = -999, height = -999, width = -999;
  };
  Geometry geometry;
  // Designed size, for forms that only grow beyond it.
  int designHeight = 0, designWidth = 0;

  const std::vector<Control*>& controls() const { return controls_; }
  Control* find(const std::string& name) const;

  Control* focused() const { return focused_; }
  // Moves the focus; the control that loses it runs its exit event first.
  void focus(Control* control);
  // The focus leaves without going anywhere (the form closes or another form takes over).
  void leaveFocus();
  // A button pressed without taking the focus (accelerator) must still act on checked fields:
  // the focused control runs its exit as if the focus moved to `button`, but keeps the focus.
  // False when the exit took the focus elsewhere (it refused its field or sent the user on):
  // then the action waits for the next press.
  [[nodiscard]] bool exitBeforeAction(Control& button);
  // The user changed `control`: a check its exit ran for an action no longer counts.
  void edited(const Control& control);

  void show();
  void hide();
  // Runs FormClose, then hides; closing the main form ends the program.
  void close();
  // Shows the form modally through the presentation (or the test's script) and returns the
  // modal result the form set.
  ModalResult showModal();
  ModalResult modalResult = ModalResult::None;

  // Restores the window settings, then runs FormCreate.
  void create();
  // Another form takes over: stores the window settings where wanted, then FormDeactivate.
  void deactivate();

  // Every edit, masked edit and editable list of the form holds what a line of a Windows-1252
  // line file keeps: at most `maxLength` characters (unless already less), no character
  // without a Windows-1252 byte.
  void limitToLineFile(int maxLength);

  // Help of every form is the start screen's; the start screen overrides this.
  virtual void lbStartHelpClick(Control* sender);
  void mHilfeClick(Control* sender) { lbStartHelpClick(sender); }

  // Lifecycle hooks.
  virtual void FormCreate() {}
  virtual void FormActivate() {}
  virtual void FormDeactivate() {}
  virtual void FormClose() {}

 protected:
  // A handler of the derived form as a control event: `b.onClick = on(&TfrmX::bClick);`
  template <class F>
  Event on(void (F::*handler)(Control*)) {
    F* self = static_cast<F*>(this);
    return [self, handler](Control* sender) { (self->*handler)(sender); };
  }

 private:
  friend class Control;
  void storeWindowSettings() const;

  void registerControl(Control* c) { controls_.push_back(c); }

  FormHost& host_;
  std::string className_, settingsKey_, caption_;
  WindowSettings window_;
  bool visible_ = false;
  std::vector<Control*> controls_;
  Control* focused_ = nullptr;
  // The focused control whose exit already ran for an action and which was not edited since:
  // leaving it does not run the exit again.
  Control* exitDone_ = nullptr;
};

}  // namespace fondaris::forms
