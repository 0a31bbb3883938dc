#pragma once

#include "core/param_record.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

// Contract data form. So far: the contract start (the reference date of every age), the
// strategy buttons the start date depends on, the title and the window settings.
class TfrmVertagsdaten : public Form {
 public:
  explicit TfrmVertagsdaten(App& app);

  ComboBox cbBeginnTag{*this, "cbBeginnTag"};
  ComboBox cbBeginnMonat{*this, "cbBeginnMonat"};
  ComboBox cbBeginnJahr{*this, "cbBeginnJahr"};
  // Hidden; holds the contract start as "dd.mm.yyyy".
  MaskEdit med_Vbeginn{*this, "med_Vbeginn"};

  RadioButton rb_Fonds1{*this, "rb_Fonds1"};
  RadioButton rb_Fonds2{*this, "rb_Fonds2"};
  RadioButton rb_Fonds3{*this, "rb_Fonds3"};
  RadioButton rb_Fonds4{*this, "rb_Fonds4"};
  RadioButton rb_Fonds5{*this, "rb_Fonds5"};
  RadioButton rb_Fonds6{*this, "rb_Fonds6"};
  RadioButton rb_Fonds7{*this, "rb_Fonds7"};
  RadioButton rb_Fonds8{*this, "rb_Fonds8"};
  RadioButton rb_Fonds9{*this, "rb_Fonds9"};
  RadioButton rb_Fonds10{*this, "rb_Fonds10"};
  RadioButton rb_Fonds11{*this, "rb_Fonds11"};

  void FormActivate() override;

  void cbBeginnJahrChange(Control* sender);
  void med_VbeginnExit(Control* sender);
  void sb_AbbruchClick(Control* sender);

  // Fills the start lists from the earliest possible start (today + 14 days).
  void initStartDate();

  // The form's own copy of "Param.dat", read when it is created.
  core::ParamRecord productData;

  // Set by a successful save of the offer; asked for when the program ends.
  bool saved = false;

 private:
  void selectEarliestStart();
};

}  // namespace fondaris::forms
