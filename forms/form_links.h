#pragma once

#include <string>

namespace fondaris::forms {

class Control;

// What one form may ask of the others: where the user goes next and the few facts it reads of
// another form. The application, which alone holds every form, answers; a form includes this,
// never another form's class.
class FormLinks {
 public:
  // Where the user goes next.
  virtual void showAgentData() = 0;
  virtual void showCustomerData() = 0;
  virtual void showApplicationData() = 0;
  // The customer form's "&Weiter": the contract form lays itself out for the chosen variant.
  virtual void prepareContract() = 0;
  // The blank application documents of the chosen variant (the customer form's rule).
  virtual void openBlankApplication() = 0;

  // The start screen: its caption, and which product variant (1 or 2) it offers and chose.
  virtual std::string startCaption() const = 0;
  virtual bool variantOffered(int variant) const = 0;
  virtual bool variantChosen(int variant) const = 0;
  // The customer form chose the second product variant.
  virtual bool secondVariantChosen() const = 0;
  // The agent's country, as the position in the country list.
  virtual int agentCountryIndex() const = 0;
  // The agent's payment at the start for the customer, in percent, per variant.
  virtual std::string agentStartPayment(bool secondVariant) const = 0;
  // The contract start field ("dd.mm.yyyy"), read-only.
  virtual const Control& contractStart() const = 0;

 protected:
  ~FormLinks() = default;
};

}  // namespace fondaris::forms
