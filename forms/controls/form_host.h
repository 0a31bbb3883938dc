#pragma once

namespace fondaris::core {
class Clock;
class Dialogs;
class ParamRecord;
class Shell;
}  // namespace fondaris::core

namespace fondaris::forms {

class Form;
class FormLinks;

enum class ModalResult {
  None = 0,
  Ok = 1,
  Cancel = 2,
  Abort = 3,
  Retry = 4,
  Ignore = 5,
  Yes = 6,
  No = 7
};

// What a form needs of the program that holds it: the services, the main form, showing and
// hiding, and the other forms (through FormLinks). Forms never see the program's class.
class FormHost {
 public:
  virtual core::Dialogs& dialogs() const = 0;
  virtual core::Clock& clock() const = 0;
  virtual core::Shell& shell() const = 0;
  virtual FormLinks& links() = 0;
  // The product data of the working folder, read once and shared by every form. Null when the
  // file cannot be read; `messages` (may be null) then receives the reason.
  virtual const core::ParamRecord* productData(core::Dialogs* messages) = 0;

  // The main form: closing it ends the program.
  virtual Form& mainForm() const = 0;
  virtual void formShown(Form& form) = 0;
  virtual void formHidden(Form& form) = 0;
  // Shows `form` modally and returns the modal result it set.
  virtual ModalResult runModal(Form& form) = 0;
  virtual void quit() = 0;

 protected:
  ~FormHost() = default;
};

}  // namespace fondaris::forms
