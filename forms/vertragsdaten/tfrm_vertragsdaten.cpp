#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

#include <cstdio>

#include "core/files.h"
#include "core/german.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/app.h"
#include "forms/date_field.h"
#include "forms/startmaske/tfrm_startmaske.h"

namespace fondaris::forms {

namespace {

constexpr int kEarliestStartDays = 14;

std::string twoDigits(int n) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", n);
  return buffer;
}

// The day of the contract start for the strategy bound to month ends: February always 28.
int lastDayOfMonth(int month) {
  switch (month) {
    case 2:
      return 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

}  // namespace

TfrmVertagsdaten::TfrmVertagsdaten(App& app)
    : Form(app, "TfrmVertagsdaten", "frmVertragsdaten",
           {Placement::PositionAndSize, Placement::PositionAndSize, true, true}) {
  setCaption(app.mainForm().caption() + " - Vertragsdaten");

  cbBeginnTag.setDropDownList(true);
  cbBeginnTag.setItems({"1", "15"});
  cbBeginnMonat.setDropDownList(true);
  std::vector<std::string> months;
  for (int m = 1; m <= 12; ++m) months.push_back(twoDigits(m));
  cbBeginnMonat.setItems(months);
  cbBeginnJahr.setDropDownList(true);
  med_Vbeginn.setMask("!99/99/9999;1;_");
  med_Vbeginn.setVisible(false);

  cbBeginnTag.onChange = cbBeginnMonat.onChange = cbBeginnJahr.onChange =
      on(&TfrmVertagsdaten::cbBeginnJahrChange);
  med_Vbeginn.onExit = on(&TfrmVertagsdaten::med_VbeginnExit);

  core::ParamRecord& record = productData;
  if (core::readParamRecord(core::workingDirectory(), record, &app.dialogs()) != 0) {
    sb_AbbruchClick(nullptr);
    return;
  }

  // Strategy buttons: caption from the first variant's table, shown when active.
  RadioButton* strategies[] = {&rb_Fonds1, &rb_Fonds2,  &rb_Fonds3, &rb_Fonds4,
                               &rb_Fonds5, &rb_Fonds6,  &rb_Fonds7, &rb_Fonds8,
                               &rb_Fonds9, &rb_Fonds10, &rb_Fonds11};
  for (std::size_t i = 0; i < std::size(strategies); ++i) {
    strategies[i]->setCaption(core::paramText(record, core::paramField("vlStrategy.name"), i));
    strategies[i]->setVisible(core::paramNumber(record, core::paramField("vlStrategy.active"), i) ==
                              1);
  }

  initStartDate();
}

void TfrmVertagsdaten::selectEarliestStart() {
  const core::DateTime earliest = app().clock().today() + kEarliestStartDays;
  int year = 0, month = 0, day = 0;
  core::decodeDate(earliest, year, month, day);
  cbBeginnJahr.setItems({std::to_string(year), std::to_string(year + 1)});
  cbBeginnJahr.setItemIndex(0);
  cbBeginnMonat.setItemIndex(month - 1);
}

void TfrmVertagsdaten::initStartDate() {
  const core::DateTime earliest = app().clock().today() + kEarliestStartDays;
  int year = 0, month = 0, day = 0;
  core::decodeDate(earliest, year, month, day);
  selectEarliestStart();
  if (day > 15) {
    if (month == 12) {
      cbBeginnJahr.setItemIndex(1);
      cbBeginnMonat.setItemIndex(0);
    } else {
      cbBeginnMonat.setItemIndex(month);
    }
  }
  if (cbBeginnTag.itemIndex() < 0) cbBeginnTag.setItemIndex(day <= 15 ? 1 : 0);
  cbBeginnJahrChange(nullptr);
}

void TfrmVertagsdaten::cbBeginnJahrChange(Control*) {
  if (cbBeginnJahr.text().empty() || cbBeginnMonat.text().empty()) return;
  int year = std::atoi(cbBeginnJahr.text().c_str());
  int month = std::atoi(cbBeginnMonat.text().c_str());
  if (month == 0) {
    selectEarliestStart();
    year = std::atoi(cbBeginnJahr.text().c_str());
    month = std::atoi(cbBeginnMonat.text().c_str());
  }
  const int day = rb_Fonds1.checked() ? lastDayOfMonth(month) : cbBeginnTag.text() == "15" ? 15 : 1;
  const auto start = core::encodeDate(year, month, day);
  if (!start) return;
  if (*start < app().clock().today() + kEarliestStartDays)
    app().dialogs().message("Der frühestmögliche Beginn ist in 14 Tagen!", "Beginn");
  med_Vbeginn.setText(core::formatDate(*start));
}

void TfrmVertagsdaten::med_VbeginnExit(Control*) {
  core::DateTime start = 0;
  if (checkDateField(med_Vbeginn, start, app().dialogs()) == DateCheck::Valid)
    med_Vbeginn.setText(core::formatDate(start));
}

void TfrmVertagsdaten::sb_AbbruchClick(Control*) {
  // Saving again on "Ja" comes with the offer files; nothing sets `saved` before them.
  if (saved) app().dialogs().askYesNo("Daten speichern?", "Beenden");
  app().mainForm().close();
}

void TfrmVertagsdaten::FormActivate() {
  const bool secondVariant = app().frmAngebotsdaten && app().frmAngebotsdaten->rbProd1.checked();
  setCaption(core::variantName(productData, secondVariant ? 2 : 1) + " - Vertragsdaten");
}

}  // namespace fondaris::forms
