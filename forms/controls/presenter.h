#pragma once

namespace fondaris::forms {

class Form;
enum class ModalResult;

// What the form logic needs from a window system. The Qt views implement it; without one
// (tests, headless tools) a modal form is run by the test's own script.
class Presenter {
 public:
  virtual ~Presenter() = default;
  // Runs `form` modally until it sets a modal result or closes.
  virtual ModalResult runModal(Form& form) = 0;
  // The form logic changed controls outside an event from the view (a timer, another form).
  virtual void refresh(Form& /*form*/) {}
  virtual void formShown(Form& /*form*/) {}
  virtual void formHidden(Form& /*form*/) {}
  virtual void quit() {}
};

}  // namespace fondaris::forms
