// Drives the real views and forms offscreen, as an agent would on the first start: start
// screen, welcome box, agent data saved, customer data with birth date and age.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::qt {
namespace {

namespace fs = std::filesystem;

class QtFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    test::useWorkFolder(work_);
    app_ = std::make_unique<program::App>(program::Services{dialogs_, clock_, shell_}, &presenter_);
    app_->createForms();
    const QStringList problems = addViews(*app_, presenter_);
    ASSERT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();
  }
  void TearDown() override { app_->setPresenter(nullptr); }

  template <class W>
  W* widget(const forms::Form& form, const char* name) {
    return test::viewChild<W>(presenter_, form, name);
  }
  void typeInto(QWidget* field, const QString& text) { test::typeInto(field, text); }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder work_{"fondaris_qt"};
  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 12, 5};
  test_support::RecordingShell shell_;
  QtPresenter presenter_;
  std::unique_ptr<program::App> app_;
};

TEST_F(QtFlow, EveryViewIsBoundAndAMismatchNamesViewAndForm) {
  for (const FormView& entry : formViews())
    EXPECT_NE(presenter_.binder(entry.form(*app_)), nullptr);

  // A view whose field was renamed in the designer, offered for the agent form.
  const FormView broken[] = {{[](forms::FormSet& a) -> forms::Form& { return *a.frmVermittler; },
                              [] {
                                auto view = makeVermittlerView();
                                view->findChild<QLineEdit*>("edV_Ort")->setObjectName("edV_Stadt");
                                return view;
                              }}};
  QtPresenter other;
  const QStringList problems = addViews(*app_, other, broken);
  ASSERT_EQ(problems.size(), 2) << problems.join("\n").toStdString();
  EXPECT_TRUE(problems[0].startsWith("Ansicht frmVermittler / Formular TfrmVermittler: edV_Ort: "));
  EXPECT_TRUE(
      problems[1].startsWith("Ansicht frmVermittler / Formular TfrmVermittler: edV_Stadt: "));
  EXPECT_EQ(other.binder(*app_->frmVermittler), nullptr);
}

// The program makes a view when its form is first shown (or its view first asked for): the
// first window waits for no other view.
TEST_F(QtFlow, ViewsAreMadeWhenTheirFormIsFirstNeeded) {
  QtPresenter onDemand;
  addViewsOnDemand(*app_, onDemand);
  app_->setPresenter(&onDemand);
  for (const FormView& entry : formViews()) EXPECT_FALSE(onDemand.viewMade(entry.form(*app_)));

  app_->mainForm().show();
  EXPECT_TRUE(onDemand.viewMade(app_->mainForm()));
  EXPECT_TRUE(onDemand.view(app_->mainForm())->isVisible());
  auto& agent = *app_->frmVermittler;
  EXPECT_FALSE(onDemand.viewMade(agent));

  // A view made late shows what its form already holds.
  agent.find("edV_Ort")->setText("Görlitz");
  auto* town = test::viewChild<QLineEdit>(onDemand, agent, "edV_Ort");
  ASSERT_NE(town, nullptr);
  EXPECT_EQ(town->text(), "Görlitz");
  EXPECT_NE(onDemand.binder(agent), nullptr);
  app_->setPresenter(&presenter_);
}

TEST_F(QtFlow, NoAcceleratorTwiceInAWindowAndDesignedOnesStay) {
  for (const FormView& entry : formViews()) {
    forms::Form& form = entry.form(*app_);
    QWidget* view = presenter_.view(form);
    QMap<QChar, QStringList> users;
    for (QWidget* w : view->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(view)) continue;
      QString text;
      if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = b->text();
      else if (auto* l = qobject_cast<QLabel*>(w);
               l && (l->buddy() || l->textFormat() == Qt::RichText))
        text = l->textFormat() == Qt::RichText
                   ? QString::fromStdString(form.find(l->objectName().toStdString())->caption())
                   : l->text();
      const QKeySequence key = QKeySequence::mnemonic(text);
      if (!key.isEmpty()) users[key.toString().back().toUpper()] << w->objectName();
    }
    for (auto it = users.begin(); it != users.end(); ++it)
      EXPECT_EQ(it.value().size(), 1)
          << form.className() << " Alt+" << QString(it.key()).toStdString() << ": "
          << it.value().join(", ").toStdString();
  }
  auto& customer = *app_->frmAngebotsdaten;
  EXPECT_EQ(widget<QCheckBox>(customer, "cbSteuerAusland")->text(),
            "Steuerliche Veranlagung im A&usland");
  EXPECT_EQ(widget<QCheckBox>(*app_->frmVermittler, "cbDatumshinweis")->text(),
            "Wä&hrungs- und Datumshinweis anzeigen");
  for (const char* name : {"_lblVN_Plz", "_lblVN_Ort"})
    EXPECT_NE(widget<QLabel>(customer, name), nullptr);
  EXPECT_EQ(widget<QLabel>(*app_->frmVermittler, "_lblPlz")->text(), "&PLZ");
  EXPECT_EQ(widget<QLabel>(*app_->frmVermittler, "_lblOrt")->text(), "&Ort");
}

// Every window fits a 1366 × 768 laptop with its task bar (720 high, less a title bar); a long
// page scrolls up and down, never sideways.
TEST_F(QtFlow, EveryViewFitsALaptopScreen) {
  for (const FormView& entry : formViews()) {
    QWidget* view = presenter_.view(entry.form(*app_));
    SCOPED_TRACE(view->objectName().toStdString());
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    QTabWidget* pages = view->findChild<QTabWidget*>();
    for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
      if (pages) pages->setCurrentIndex(page);
      QApplication::processEvents();
      EXPECT_LE(view->minimumSizeHint().width(), 1366);
      EXPECT_LE(view->minimumSizeHint().height(), 720 - 30);
      for (auto* area : view->findChildren<QScrollArea*>()) {
        if (!area->isVisible()) continue;
        EXPECT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_GE(area->minimumWidth(), area->widget()->minimumSizeHint().width());
      }
    }
    view->hide();
  }
}

// A place or size stored for another or a larger screen is brought onto this one.
TEST_F(QtFlow, AStoredPlaceOffTheScreenIsBroughtOntoIt) {
  auto& agent = *app_->frmVermittler;
  agent.geometry = {5000, 7000, 4000, 6000};  // top, left, height, width
  agent.show();
  QWidget* view = presenter_.view(agent);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  const QRect area = view->screen()->availableGeometry();
  EXPECT_TRUE(area.contains(view->frameGeometry()))
      << view->frameGeometry().x() << "," << view->frameGeometry().y() << " "
      << view->frameGeometry().width() << "x" << view->frameGeometry().height();
  EXPECT_EQ(agent.geometry.left, view->x());
  agent.hide();
}

TEST(WindowPlacement, FitIntoKeepsTheWindowOnTheScreen) {
  const QRect screen(0, 0, 1366, 728);
  const struct {
    QRect frame;
    QSize minimum;
    QRect expected;
  } cases[] = {
      {{100, 100, 600, 400}, {300, 200}, {100, 100, 600, 400}},  // fits: stays
      {{2000, 50, 600, 400}, {300, 200}, {766, 50, 600, 400}},   // another monitor's place
      {{-300, -80, 600, 400}, {300, 200}, {0, 0, 600, 400}},     // above and left of it
      {{0, 0, 1600, 1000}, {300, 200}, {0, 0, 1366, 728}},       // a larger screen's size
      {{900, 500, 600, 400}, {300, 200}, {766, 328, 600, 400}},  // reaching beyond a corner
      {{500, 100, 1500, 900}, {1400, 800}, {0, 0, 1400, 800}},   // not even the smallest fits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame.x());
    const QRect fitted = kit::fitInto(c.frame, c.minimum, screen);
    EXPECT_EQ(fitted, c.expected) << fitted.x() << "," << fitted.y() << " " << fitted.width() << "x"
                                  << fitted.height();
  }
}

// Ctrl+PageDown and Ctrl+Tab turn the pages of every paged form, from a field on the page.
TEST_F(QtFlow, EveryPagedFormTurnsItsPagesByKey) {
  int paged = 0;
  for (const FormView& entry : formViews()) {
    QWidget* view = presenter_.view(entry.form(*app_));
    for (auto* pages : view->findChildren<QTabWidget*>()) {
      SCOPED_TRACE(pages->objectName().toStdString());
      ++paged;
      view->show();
      ASSERT_TRUE(QTest::qWaitForWindowActive(view));
      for (QKeyCombination key : {Qt::CTRL | Qt::Key_PageDown, Qt::CTRL | Qt::Key_Tab}) {
        const int before = pages->currentIndex();
        QWidget* field = pages->currentWidget();
        for (QWidget* w : pages->currentWidget()->findChildren<QWidget*>())
          if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) field = w;
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_NE(pages->currentIndex(), before);
      }
      view->hide();
    }
  }
  EXPECT_GE(paged, 2);  // the contract and the application form
}

// A field the design shows read-only (the illustration's results, the check findings) is
// read-only in the form as well, so binding and refreshing the view keep it that way.
TEST_F(QtFlow, FieldsDesignedReadOnlyStayReadOnly) {
  int checked = 0;
  for (const FormView& entry : formViews()) {
    forms::Form& form = entry.form(*app_);
    const std::unique_ptr<QWidget> design = entry.make();
    QWidget* view = presenter_.view(form);
    presenter_.binder(form)->refresh();
    for (QWidget* designed : design->findChildren<QWidget*>()) {
      if (!designed->property("readOnly").toBool()) continue;
      const std::string name = designed->objectName().toStdString();
      SCOPED_TRACE(form.className() + " " + name);
      const forms::Control* control = form.find(name);
      ASSERT_NE(control, nullptr);
      EXPECT_TRUE(control->readOnly());
      auto* bound = view->findChild<QWidget*>(designed->objectName());
      ASSERT_NE(bound, nullptr);
      EXPECT_TRUE(bound->property("readOnly").toBool());
      ++checked;
    }
  }
  EXPECT_GE(checked, 22);  // 20 results, the invested amount and the reduction at least
}

TEST_F(QtFlow, FirstStartLeadsFromWelcomeToAgentAndCustomerData) {
  auto& start = *app_->frmStartmaske;
  auto& agent = *app_->frmVermittler;
  auto& customer = *app_->frmAngebotsdaten;
  QWidget* startView = presenter_.view(start);

  start.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(startView));
  EXPECT_EQ(startView->windowTitle(), "Fondaris / Fondaris VL");
  EXPECT_EQ(widget<QLabel>(start, "lbStartVersion")->text(), "Version 1.0.0");
  EXPECT_TRUE(widget<QRadioButton>(start, "rbProd1")->isChecked());
  EXPECT_TRUE(widget<QLabel>(start, "lbProdukt")->isVisible());
  EXPECT_FALSE(widget<QPushButton>(start, "sb_Vermittler")->isVisible());

  // Without agent data the timer greets the user and opens the agent form.
  ASSERT_TRUE(test::waitFor([&] { return agent.visible(); }, 5000));
  ASSERT_EQ(dialogs_.messages().size(), 1u);
  EXPECT_EQ(dialogs_.messages()[0],
            "Daten: Willkommen beim Angebotsprogramm zum \nFondaris / Fondaris VL!\nBitte die "
            "Vermittlerdaten eingeben!");
  EXPECT_FALSE(startView->isVisible());
  QWidget* agentView = presenter_.view(agent);
  ASSERT_TRUE(QTest::qWaitForWindowActive(agentView));
  EXPECT_EQ(agentView->windowTitle(), "Fondaris / Fondaris VL - Vermittlerdaten");
  EXPECT_TRUE(customer.rbProd1.checked());

  // Saving without a company is refused with the form's message.
  QTest::mouseClick(widget<QPushButton>(agent, "sbV_Speichern"), Qt::LeftButton);
  ASSERT_EQ(dialogs_.messages().size(), 2u);
  EXPECT_EQ(dialogs_.messages()[1], "Prüfung: Bitte den Namen der Firma angeben!");
  EXPECT_TRUE(agentView->isVisible());

  typeInto(widget<QLineEdit>(agent, "edV_Firma"), "Muster Finanz GmbH");
  typeInto(widget<QLineEdit>(agent, "edV_Ansprechpartner"), "Erika Muster");
  EXPECT_EQ(agent.edV_Ansprechpartner.text(), "Erika Muster");
  QTest::mouseClick(widget<QPushButton>(agent, "sbV_Speichern"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.messages().size(), 2u);
  EXPECT_TRUE(agent.agentDataValid());
  const auto lines = core::readTextLines(core::joinPath(work_.str(), "Vermitd.dat"));
  ASSERT_TRUE(lines.has_value());
  ASSERT_EQ(lines->size(), 24u);
  EXPECT_EQ((*lines)[10], "Muster Finanz GmbH");

  QWidget* customerView = presenter_.view(customer);
  ASSERT_TRUE(QTest::qWaitForWindowActive(customerView));
  EXPECT_FALSE(agentView->isVisible());
  EXPECT_TRUE(widget<QRadioButton>(customer, "rbProd1")->isChecked());

  // Birth date → age, against the contract start the contract form chose.
  core::DateTime begin = 0;
  ASSERT_TRUE(core::textToDate(app_->frmVertagsdaten->med_Vbeginn.text()).has_value());
  begin = *core::textToDate(app_->frmVertagsdaten->med_Vbeginn.text());
  auto* birth = widget<QLineEdit>(customer, "medVN_Geburtstag");
  auto* age = widget<QComboBox>(customer, "cbVN_Alter");
  EXPECT_FALSE(age->isEnabled());
  typeInto(birth, "15031980");
  EXPECT_EQ(birth->displayText(), "15.03.1980");
  const int expected =
      core::ageInYears(begin, *core::encodeDate(1980, 3, 15), core::AgeMode::kCompleted);
  EXPECT_EQ(age->currentText(), QString::number(expected));
  EXPECT_EQ(customer.medVP_Geburtstag.text(), "15.03.1980");

  // Age → birth date: the year from today's date, day and month kept.
  test::clickIndicator(widget<QRadioButton>(customer, "rbVN_Alter"), true);
  EXPECT_TRUE(age->isEnabled());
  EXPECT_FALSE(birth->isEnabled());
  typeInto(age, "40");
  EXPECT_EQ(birth->displayText(), "15.03.1986");
  EXPECT_EQ(dialogs_.unexpected().size(), 0u);

  // Closing the customer form ends the program and stores where its window was.
  customerView->move(120, 80);
  customerView->close();
  EXPECT_TRUE(app_->quitRequested());
  const std::string settings =
      core::readFileBytes(core::joinPath(work_.str(), "ZKDX.INI")).value_or("");
  const std::string section = "[frmAngebotsdaten-" + core::userName() + "]\r\nTop=80\r\nLeft=120";
  EXPECT_NE(settings.find(section), std::string::npos) << settings;
  EXPECT_NE(settings.find("Width=" + std::to_string(customerView->width())), std::string::npos);
}

}  // namespace
}  // namespace fondaris::qt
