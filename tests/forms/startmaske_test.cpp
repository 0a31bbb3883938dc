#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

using StartmaskeTest = FormsTest;

std::string u32(std::uint32_t v) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &v, 4);
  return bytes;
}

TEST_F(StartmaskeTest, SampleDataOfferBothProducts) {
  App& a = createApp();
  const TfrmStartmaske& start = *a.frmStartmaske;
  EXPECT_EQ(&a.mainForm(), &start);
  EXPECT_EQ(start.caption(), "Fondaris / Fondaris VL");
  EXPECT_TRUE(start.rbProd.visible());
  EXPECT_TRUE(start.rbProd1.visible());
  EXPECT_TRUE(start.rbProd1.checked());
  EXPECT_FALSE(start.rbProd.checked());
  EXPECT_EQ(start.lbStartVersion.caption(), "Version 1.0.0");
  EXPECT_FALSE(start.sb_Vermittler.visible());
  EXPECT_TRUE(start.TimerWait.enabled());
  EXPECT_EQ(start.TimerWait.interval(), 1000);
  EXPECT_EQ(a.frmVermittler->caption(), "Fondaris / Fondaris VL - Vermittlerdaten");
  EXPECT_EQ(a.frmAngebotsdaten->caption(), "Fondaris / Fondaris VL - Angebotsdaten");
}

TEST_F(StartmaskeTest, SwitchWordAndNamesDecideChoicesAndTitle) {
  struct Case {
    std::uint32_t switchWord;
    bool emptyName1;
    bool visible1, visible2, checked1;
    const char* title;
  } cases[] = {
      {100100, false, true, true, false, "Fondaris / Fondaris VL"},
      {100, false, true, false, true, "Fondaris VL"},
      {100000, true, false, true, false, "Fondaris"},
      {100, true, false, false, true, "Fondaris"},  // offered but nameless: hidden
      {0, false, false, false, true, "Fondaris"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.switchWord);
    nextCase();
    patchParam(404540, u32(c.switchWord));
    if (c.emptyName1) patchParam(1450, std::string(1, '\0'));
    const TfrmStartmaske& start = *createApp().frmStartmaske;
    EXPECT_EQ(start.rbProd.visible(), c.visible1);
    EXPECT_EQ(start.lbProdukt.visible(), c.visible1);
    EXPECT_EQ(start.rbProd1.visible(), c.visible2);
    EXPECT_EQ(start.lbProdukt1.visible(), c.visible2);
    EXPECT_EQ(start.rbProd.checked(), c.checked1);
    EXPECT_EQ(start.caption(), c.title);
    EXPECT_EQ(app->frmAngebotsdaten->box0.visible(), c.visible1 || c.visible2);
  }
}

TEST_F(StartmaskeTest, MissingProductDataHideBothChoicesSilently) {
  std::filesystem::remove(path("Param.dat"));
  const TfrmStartmaske& start = *createApp().frmStartmaske;
  EXPECT_EQ(start.caption(), "Fondaris");
  EXPECT_FALSE(start.rbProd.visible());
  EXPECT_FALSE(start.rbProd1.visible());
  EXPECT_TRUE(start.rbProd.checked());
  // Only the contract form reads with messages.
  EXPECT_EQ(
      dialogs.messages(),
      std::vector<std::string>{"Fehler: Die Datei '\\Param.dat' konnte nicht gelesen werden!"});
}

// Bytes this process has read from files so far.
std::uint64_t bytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

TEST_F(StartmaskeTest, TheFormsShareOneReadingOfTheProductData) {
  const std::uint64_t before = bytesReadSoFar();
  createApp();
  const std::uint64_t read = bytesReadSoFar() - before;
  EXPECT_GE(read, core::kParamRecordSize);
  EXPECT_LT(read, 2 * core::kParamRecordSize);
}

TEST_F(StartmaskeTest, CutShortProductDataNameNoPicture) {
  ASSERT_TRUE(core::writeFileAtomically(path("STARTBILD.PNG"), "png"));
  std::filesystem::resize_file(path("Param.dat"), core::kParamRecordSize - 1);
  const TfrmStartmaske& start = *createApp().frmStartmaske;
  EXPECT_EQ(start.iLogo.text(), "");  // built-in picture
  EXPECT_EQ(start.caption(), "Fondaris");
  EXPECT_FALSE(start.rbProd.visible());
  EXPECT_FALSE(start.rbProd1.visible());
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Fehler: Fehler beim Lesen der Daten von '\\Param.dat'!"});
}

TEST_F(StartmaskeTest, StartPictureIsFoundRegardlessOfCase) {
  ASSERT_TRUE(core::writeFileAtomically(path("STARTBILD.PNG"), "png"));
  EXPECT_EQ(createApp().frmStartmaske->iLogo.text(), path("STARTBILD.PNG"));
  nextCase();
  EXPECT_EQ(createApp().frmStartmaske->iLogo.text(), "");  // built-in picture
}

TEST_F(StartmaskeTest, TimerWelcomesANewAgentAndLeadsToTheAgentForm) {
  App& a = createApp();
  TfrmStartmaske& start = *a.frmStartmaske;
  start.show();
  start.rbProd.setChecked(true);
  start.TimerWait.onTimer(&start.TimerWait);
  EXPECT_FALSE(start.TimerWait.enabled());
  EXPECT_EQ(dialogs.messages(),
            (std::vector<std::string>{"Daten: Willkommen beim Angebotsprogramm zum \nFondaris / "
                                      "Fondaris VL!\nBitte die Vermittlerdaten eingeben!"}));
  EXPECT_FALSE(start.visible());
  EXPECT_TRUE(a.frmVermittler->visible());
  EXPECT_EQ(a.activeForm(), a.frmVermittler.get());
  EXPECT_TRUE(a.frmAngebotsdaten->rbProd.checked());
  EXPECT_FALSE(a.frmAngebotsdaten->rbProd1.checked());
}

TEST_F(StartmaskeTest, TimerAfterAnEarlyClickStaysQuiet) {
  App& a = createApp();
  a.frmStartmaske->show();
  a.frmStartmaske->lb_Angebotsdaten.userClick();  // defective agent data: one message
  ASSERT_EQ(dialogs.messages().size(), 1u);
  a.frmStartmaske->TimerWait.onTimer(&a.frmStartmaske->TimerWait);
  EXPECT_FALSE(a.frmStartmaske->TimerWait.enabled());
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(a.frmVermittler->visible());
}

TEST_F(StartmaskeTest, TimerIsQuietWithValidAgentData) {
  writeLines("Vermitd.dat", agentFile());
  App& a = createApp();
  a.frmStartmaske->show();
  a.frmStartmaske->TimerWait.onTimer(&a.frmStartmaske->TimerWait);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(a.frmStartmaske->visible());
}

TEST_F(StartmaskeTest, OfferDataNeedAgentData) {
  App& a = createApp();
  a.frmStartmaske->show();
  a.frmStartmaske->lb_Angebotsdaten.userClick();
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{
                                    "Daten: Die Vermittlerdaten fehlen bzw. sind defekt!\nDas "
                                    "Formular zu den Vermittlerdaten wird daher nun gestartet!"}));
  EXPECT_TRUE(a.frmVermittler->visible());

  nextCase();
  writeLines("Vermitd.dat", agentFile());
  App& b = createApp();
  b.frmStartmaske->show();
  b.frmStartmaske->lbProdukt.userClick();
  b.frmStartmaske->cb_Angebotsdaten.userClick();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(b.frmAngebotsdaten->visible());
  EXPECT_TRUE(b.frmAngebotsdaten->rbProd.checked());
}

TEST_F(StartmaskeTest, EndingStoresThePositionAndQuits) {
  App& a = createApp();
  a.frmStartmaske->show();
  a.frmStartmaske->geometry.top = 40;
  a.frmStartmaske->geometry.left = 50;
  a.frmStartmaske->lb_Beenden.userClick();
  EXPECT_TRUE(a.quitRequested());

  createApp();
  EXPECT_EQ(app->frmStartmaske->geometry.top, 40);
  EXPECT_EQ(app->frmStartmaske->geometry.left, 50);
}

}  // namespace
}  // namespace fondaris::forms::testing
