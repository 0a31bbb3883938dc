#pragma once

#include <array>
#include <string>
#include <vector>

#include "documents/fdf/fdf_fields.h"
#include "documents/fdf/fdf_writer.h"

namespace fondaris::forms {

class Control;

// One person of the customer form as the other forms read it: texts as typed, list positions
// as chosen (-1 for none).
struct PersonFacts {
  std::string firstName, lastName, street, postcode, place, country;
  int countryIndex = -1;
  int salutationIndex = -1;
  std::string birthDate;  // "dd.mm.yyyy" as typed, possibly incomplete
  std::string birthPlace, birthCountry, birthName, maritalStatus, nationality;
  std::string age;  // the age list's text
  // The age was chosen from the list instead of following the birth date.
  bool ageChosen = false;
};

// The customer form's policyholder ("VN") and insured person ("VP").
struct CustomerFacts {
  PersonFacts holder, insured;
};

// The agent's discount for the customer in one product variant.
struct AgentDiscount {
  bool offered = false;  // the agent form shows the list
  std::string percent;   // as the list shows it ("2,5")
};

// The agent form's data as the contract and application forms read it.
struct AgentFacts {
  std::string company, contact, street, postcode, place, fax, phone, mobile, email;
  std::string subNumber;  // the agent's sub-number ("UnterVKZ")
  int countryIndex = -1;
  AgentDiscount firstVariantDiscount, secondVariantDiscount;
};

// One forms-data file of the open offer, with the PDF form it refers to and its entries (the
// form reference still empty: it depends on the folder the file goes to).
struct FormsDataFile {
  documents::FdfFile file;
  std::string formName;
  std::vector<documents::FdfEntry> entries;
};

// One line of the completeness check and the name of the application form's control it is about
// (empty: no field of that form, such as the agent's or the customer's data).
struct Finding {
  std::string text;
  std::string control;
};

// The annual top-ups dialog's answer.
struct TopUpsEdit {
  bool accepted = false;
  // Some amounts were below the minimum and were raised to it.
  bool corrected = false;
};

// What one form may ask of the others: where the user goes next and the few facts it reads of
// another form. The application, which alone holds every form, answers; a form includes this,
// never another form's class.
class FormLinks {
 public:
  // Where the user goes next.
  virtual void showAgentData() = 0;
  virtual void showCustomerData() = 0;
  virtual void showApplicationData() = 0;
  virtual void showContractData() = 0;
  // The start screen's variant choice goes to the customer form.
  virtual void takeVariantChoice() = 0;
  // The check window shows the completeness findings, one per line.
  virtual void showFindings(const std::vector<Finding>& findings) = 0;
  // A finding was chosen in the check window: the application form shows the page of the
  // control named `control` and puts the focus into it.
  virtual void showField(const std::string& control) = 0;
  // The annual top-ups dialog for `open` years edits `topUps` (year 1 to 50 at index 1 to 50).
  virtual TopUpsEdit editTopUps(std::array<double, 51>& topUps, int open) = 0;
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

  // The agent form read its file and the data is complete.
  virtual bool agentDataValid() const = 0;
  virtual AgentFacts agentFacts() const = 0;
  virtual CustomerFacts customerFacts() const = 0;
  // The contract form's check sets the customer form's ages the offer counts with.
  virtual void setHolderAge(int years) = 0;
  virtual void setInsuredAge(int years) = 0;

  // The offer file the agent chooses is loaded into the forms.
  virtual void loadOffer() = 0;
  // The forms-data files the open offer fills, in the order they are written.
  virtual std::vector<FormsDataFile> formsData() const = 0;

 protected:
  ~FormLinks() = default;
};

}  // namespace fondaris::forms
