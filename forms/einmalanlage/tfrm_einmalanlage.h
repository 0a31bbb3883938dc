#pragma once

#include <array>

#include "forms/controls/combo_box_inc.h"
#include "forms/controls/form.h"
#include "forms/form_links.h"

namespace fondaris::forms {

// The annual top-ups dialog: one amount per contract year 2..51, ten years per page. The
// contract form opens it modally and keeps the table.
class TfrmEinmalanlage : public Form {
 public:
  explicit TfrmEinmalanlage(FormHost& host);

  ComboBoxInc cb_Zuzahlung{*this, "cb_Zuzahlung"};
  PageControl pcZuzahlung{*this, "pcZuzahlung"};
  TabSheet ts10{*this, "ts10", &pcZuzahlung};
  TabSheet ts20{*this, "ts20", &pcZuzahlung};
  TabSheet ts30{*this, "ts30", &pcZuzahlung};
  TabSheet ts40{*this, "ts40", &pcZuzahlung};
  TabSheet ts50{*this, "ts50", &pcZuzahlung};
#define FONDARIS_TOPUP(n, page)                                 \
  Label lZuZahl##n{*this, "lZuZahl" #n, &page};                 \
  ComboBoxInc cb_Zuzahlung##n{*this, "cb_Zuzahlung" #n, &page}; \
  Label lZuZahlEUR##n{*this, "lZuZahlEUR" #n, &page};
  FONDARIS_TOPUP(1, ts10)
  FONDARIS_TOPUP(2, ts10)
  FONDARIS_TOPUP(3, ts10)
  FONDARIS_TOPUP(4, ts10)
  FONDARIS_TOPUP(5, ts10)
  FONDARIS_TOPUP(6, ts10)
  FONDARIS_TOPUP(7, ts10)
  FONDARIS_TOPUP(8, ts10)
  FONDARIS_TOPUP(9, ts10)
  FONDARIS_TOPUP(10, ts10)
  FONDARIS_TOPUP(11, ts20)
  FONDARIS_TOPUP(12, ts20)
  FONDARIS_TOPUP(13, ts20)
  FONDARIS_TOPUP(14, ts20)
  FONDARIS_TOPUP(15, ts20)
  FONDARIS_TOPUP(16, ts20)
  FONDARIS_TOPUP(17, ts20)
  FONDARIS_TOPUP(18, ts20)
  FONDARIS_TOPUP(19, ts20)
  FONDARIS_TOPUP(20, ts20)
  FONDARIS_TOPUP(21, ts30)
  FONDARIS_TOPUP(22, ts30)
  FONDARIS_TOPUP(23, ts30)
  FONDARIS_TOPUP(24, ts30)
  FONDARIS_TOPUP(25, ts30)
  FONDARIS_TOPUP(26, ts30)
  FONDARIS_TOPUP(27, ts30)
  FONDARIS_TOPUP(28, ts30)
  FONDARIS_TOPUP(29, ts30)
  FONDARIS_TOPUP(30, ts30)
  FONDARIS_TOPUP(31, ts40)
  FONDARIS_TOPUP(32, ts40)
  FONDARIS_TOPUP(33, ts40)
  FONDARIS_TOPUP(34, ts40)
  FONDARIS_TOPUP(35, ts40)
  FONDARIS_TOPUP(36, ts40)
  FONDARIS_TOPUP(37, ts40)
  FONDARIS_TOPUP(38, ts40)
  FONDARIS_TOPUP(39, ts40)
  FONDARIS_TOPUP(40, ts40)
  FONDARIS_TOPUP(41, ts50)
  FONDARIS_TOPUP(42, ts50)
  FONDARIS_TOPUP(43, ts50)
  FONDARIS_TOPUP(44, ts50)
  FONDARIS_TOPUP(45, ts50)
  FONDARIS_TOPUP(46, ts50)
  FONDARIS_TOPUP(47, ts50)
  FONDARIS_TOPUP(48, ts50)
  FONDARIS_TOPUP(49, ts50)
  FONDARIS_TOPUP(50, ts50)
#undef FONDARIS_TOPUP
  Button sbFondsaufteilung{*this, "sbFondsaufteilung"};
  Button sb_Abbruch{*this, "sb_Abbruch"};

  // Shows the amounts of years 1..`open` (index 1..50 of `topUps`) modally; on OK takes the
  // boxes back, raising amounts below the minimum to it.
  TopUpsEdit edit(std::array<double, 51>& topUps, int open);

  void cb_ZuzahlungChange(Control* sender);
  void FormatZuzahlungExit(Control* sender);
  void sbFondsaufteilungClick(Control* sender);
  void sb_AbbruchClick(Control* sender);

  // Year boxes, labels and pages by index (year index i = 1..50 at [i - 1]).
  std::array<ComboBoxInc*, 50> years{};
  std::array<Label*, 50> yearLabels{}, euroLabels{};
  std::array<TabSheet*, 5> pages{};

  // List limits set at construction; the contract form corrects lower top-ups to the minimum.
  double lowerLimit = 500, upperLimit = 100000;
  static constexpr double kMinimumTopUp = 480;
};

}  // namespace fondaris::forms
