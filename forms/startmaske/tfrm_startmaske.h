#pragma once

#include "forms/controls/form.h"

namespace fondaris::forms {

// Start screen and main window: product choice, version, and the way to the agent and customer
// data. Closing it ends the program.
class TfrmStartmaske : public Form {
 public:
  explicit TfrmStartmaske(FormHost& host);

  Label lbStartVersion{*this, "lbStartVersion"};
  // Text: path of the start picture file; empty shows the built-in picture.
  Image iLogo{*this, "iLogo"};
  RadioButton rbProd{*this, "rbProd"};
  Label lbProdukt{*this, "lbProdukt"};
  RadioButton rbProd1{*this, "rbProd1"};
  Label lbProdukt1{*this, "lbProdukt1"};
  Label lb_Vermittler{*this, "lb_Vermittler"};
  Label lb_Angebotsdaten{*this, "lb_Angebotsdaten"};
  Label lb_Beenden{*this, "lb_Beenden"};
  Button sb_Vermittler{*this, "sb_Vermittler"};
  Button cb_Angebotsdaten{*this, "cb_Angebotsdaten"};
  Button sb_Beenden{*this, "sb_Beenden"};
  Label lbStartHelp{*this, "lbStartHelp"};
  Timer TimerWait{*this, "TimerWait"};

  void TimerWaitTimer(Control* sender);
  void sb_VermittlerClick(Control* sender);
  void cb_AngebotsdatenClick(Control* sender);
  void sb_BeendenClick(Control* sender);
  void lbStartHelpClick(Control* sender) override;
  void lbProduktClick(Control* sender);
  void lbProdukt1Click(Control* sender);
};

}  // namespace fondaris::forms
