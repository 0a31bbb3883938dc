// The forms hold every caption the agent sees, accelerators included: dialogs and a run without
// windows read the same texts as the views show.
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

class CaptionsTest : public FormsTest {};

TEST_F(CaptionsTest, FormsHoldTheCaptionsTheViewsShow) {
  writeLines("Vermitd.dat", agentFile());
  createApp();
  struct Case {
    const Form& form;
    const char* control;
    const char* caption;
  };
  const Case cases[] = {
      {*app->frmAngebotsdaten, "box0", "Produkt"},
      {*app->frmAngebotsdaten, "cbSteuerAusland", "Steuerliche Veranlagung im A&usland"},
      {*app->frmVermittler, "cbDatumshinweis", "Wä&hrungs- und Datumshinweis anzeigen"},
      {*app->frmVertagsdaten, "sb_Abbruch", "B&eenden"},
      {*app->frmAngebotsdialog, "boxVermoegen", "Anteil der geplanten Anlage am Gesamtvermögen"},
      {*app->frmAngebotsdialog, "boxPost", "Postalische Zusendung der Reports"},
      {*app->frmAngebotsdialog, "boxReserven",
       "Reserven, die den Lebensunterhalt ohne diese Anlage absichern"},
  };
  for (const Case& c : cases) {
    const Control* control = c.form.find(c.control);
    ASSERT_NE(control, nullptr) << c.control;
    EXPECT_EQ(control->caption(), c.caption) << c.form.className() << " " << c.control;
  }
}

}  // namespace
}  // namespace fondaris::forms::testing
