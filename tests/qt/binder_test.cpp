// The binder between a form of the control model and a Qt view, on a small form of its own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "app/interactive.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "forms/controls/combo_box_inc.h"
#include "forms/qt/binder.h"
#include "forms/qt/key_codes.h"
#include "forms/qt/qt_dialogs.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/start_picture.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/box_answerer.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::qt {
namespace {

using forms::Control;

class TestForm : public forms::Form {
 public:
  explicit TestForm(program::App& app) : Form(app, "TfrmTest", "frmTest") {
    setCaption("Testformular");
    cbAmount.Numeric = true;
    cbAmount.setItems({"100,00", "1.000,00"});
    cbList.setDropDownList(true);
    cbList.setItems({"Herr", "Frau"});
    cbList.setItemIndex(0);
    medDate.setMask("!99/99/9999;1; ");
    medDate.setText("01.01.1980");
    rbA.setChecked(true);
    lbGo.setCaption("&Los");
    lbInfo.setCaption("Info");
    cbCheck.setCaption("Prüfen");
    sbGo.setCaption("&Ausführen");
    timer.setInterval(10);
    timer.setEnabled(false);
    edName.onChange = [this](Control*) { log += "change;"; };
    edName.onExit = [this](Control*) {
      log += "exit;";
      edOther.setText("aus " + edName.text());
      if (refuseName) focus(&edName);
    };
    lbGo.onClick = [this](Control*) { log += "label;"; };
    sbGo.onClick = [this](Control*) {
      log += "button;";
      lbInfo.setCaption("geklickt");
      cbList.setItems({"Herr", "Frau", "Divers"});
      cbList.setItemIndex(2);
      edOther.setVisible(false);
    };
    timer.onTimer = [this](Control*) {
      timer.setEnabled(false);
      log += "timer;";
    };
  }
  void FormClose() override { log += "close;"; }

  forms::Edit edName{*this, "edName"};
  forms::Edit edOther{*this, "edOther"};
  forms::MaskEdit medDate{*this, "medDate"};
  forms::ComboBoxInc cbAmount{*this, "cbAmount"};
  forms::ComboBox cbList{*this, "cbList"};
  forms::CheckBox cbCheck{*this, "cbCheck"};
  forms::RadioButton rbA{*this, "rbA"};
  forms::RadioButton rbB{*this, "rbB"};
  forms::Label lbInfo{*this, "lbInfo"};
  forms::Label lbGo{*this, "lbGo"};
  forms::Button sbGo{*this, "sbGo"};
  forms::Timer timer{*this, "timer"};
  std::string log;
  bool refuseName = false;  // the exit check keeps the focus in edName
};

template <class W>
W* add(QWidget* window, const char* name) {
  auto* w = new W(window);
  w->setObjectName(name);
  window->layout()->addWidget(w);
  return w;
}

std::unique_ptr<QWidget> makeTestView() {
  auto window = std::make_unique<QWidget>();
  new QVBoxLayout(window.get());
  add<QLineEdit>(window.get(), "edName");
  add<QLineEdit>(window.get(), "edOther");
  add<QLineEdit>(window.get(), "medDate");
  add<QComboBox>(window.get(), "cbAmount");
  add<QComboBox>(window.get(), "cbList");
  add<QCheckBox>(window.get(), "cbCheck");
  add<QRadioButton>(window.get(), "rbA");
  add<QRadioButton>(window.get(), "rbB");
  add<QLabel>(window.get(), "lbInfo");
  add<QLabel>(window.get(), "lbGo");
  add<QPushButton>(window.get(), "sbGo");
  window->layout()->addWidget(new QLabel("ohne Namen"));
  return window;
}

class BinderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    app_ = std::make_unique<program::App>(program::Services{dialogs_, clock_, shell_});
    form_ = std::make_unique<TestForm>(*app_);
    app_->setMainForm(*form_);
    view_ = makeTestView();
    binder_ = new Binder(*form_, *view_);
    view_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view_.get()));
  }

  template <class W>
  W* widget(const char* name) {
    return view_->findChild<W*>(name);
  }
  void focusOn(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(test::waitFor([w] { return w->hasFocus(); }));
  }

  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 12, 5};
  test_support::RecordingShell shell_;
  std::unique_ptr<program::App> app_;
  std::unique_ptr<TestForm> form_;
  std::unique_ptr<QWidget> view_;
  Binder* binder_ = nullptr;
};

TEST_F(BinderTest, ConsistencyCheckNamesEveryMismatchBothWays) {
  EXPECT_TRUE(Binder::mismatches(*form_, *view_).isEmpty());

  auto broken = makeTestView();
  broken->findChild<QLineEdit*>("edOther")->setObjectName("edAnders");  // renamed
  delete broken->findChild<QCheckBox*>("cbCheck");
  add<QLineEdit>(broken.get(), "cbCheck");  // wrong kind
  const QStringList problems = Binder::mismatches(*form_, *broken);
  ASSERT_EQ(problems.size(), 3) << problems.join("\n").toStdString();
  EXPECT_TRUE(problems[0].startsWith("cbCheck: QLineEdit passt nicht zu CheckBox"));
  EXPECT_TRUE(problems[1].startsWith("edAnders: QLineEdit in der Ansicht ohne Control"));
  EXPECT_TRUE(problems[2].startsWith("edOther: kein Widget"));
}

TEST_F(BinderTest, ViewShowsTheControlsAndTheirCaptions) {
  EXPECT_EQ(view_->windowTitle(), "Testformular");
  EXPECT_EQ(widget<QLineEdit>("medDate")->displayText(), "01.01.1980");
  EXPECT_EQ(widget<QComboBox>("cbList")->currentText(), "Herr");
  EXPECT_FALSE(widget<QComboBox>("cbList")->isEditable());
  EXPECT_TRUE(widget<QComboBox>("cbAmount")->isEditable());
  EXPECT_TRUE(widget<QRadioButton>("rbA")->isChecked());
  // The clickable label shows its accelerator underlined instead of the "&".
  EXPECT_EQ(form_->sbGo.caption(), "&Ausführen");
  EXPECT_EQ(form_->cbCheck.caption(), "Prüfen");
  EXPECT_EQ(widget<QPushButton>("sbGo")->text(), "&Ausführen");
  EXPECT_EQ(widget<QCheckBox>("cbCheck")->text(), "Prüfen");
  EXPECT_EQ(widget<QLabel>("lbGo")->text(), "<u>L</u>os");
}

// Captions live in the form alone: a view that brings texts of its own is named, and bound
// anyway it shows the form's captions and leaves the form's as they are.
TEST_F(BinderTest, CaptionsComeOnlyFromTheForm) {
  EXPECT_TRUE(Binder::textsInView(*form_, *makeTestView()).isEmpty());

  auto designed = makeTestView();
  designed->setWindowTitle("Entwurf");
  designed->findChild<QPushButton*>("sbGo")->setText("Ausführen");  // without the accelerator
  designed->findChild<QCheckBox*>("cbCheck")->setText("Prüfung");
  designed->findChild<QLabel*>("lbGo")->setText("&Los");  // equal to the form's
  designed->findChild<QLineEdit*>("edName")->setToolTip("Name eingeben");
  const QStringList texts = Binder::textsInView(*form_, *designed);
  EXPECT_EQ(texts, QStringList({"Fenstertitel \"Entwurf\" in der Ansicht",
                                "cbCheck: Beschriftung \"Prüfung\" in der Ansicht",
                                "edName: Hinweis \"Name eingeben\" in der Ansicht",
                                "lbGo: Beschriftung \"&Los\" in der Ansicht",
                                "sbGo: Beschriftung \"Ausführen\" in der Ansicht"}))
      << texts.join("\n").toStdString();
  EXPECT_TRUE(Binder::mismatches(*form_, *designed).isEmpty());

  form_->cbCheck.setCaption("");
  new Binder(*form_, *designed);
  EXPECT_EQ(form_->sbGo.caption(), "&Ausführen");
  EXPECT_EQ(form_->cbCheck.caption(), "");
  EXPECT_EQ(form_->edName.hint(), "");
  EXPECT_EQ(designed->windowTitle(), "Testformular");
  EXPECT_EQ(designed->findChild<QPushButton*>("sbGo")->text(), "&Ausführen");
  EXPECT_EQ(designed->findChild<QCheckBox*>("cbCheck")->text(), "");
  EXPECT_EQ(designed->findChild<QLineEdit*>("edName")->toolTip(), "");
}

TEST_F(BinderTest, UserActionsRunHandlersAndTheViewFollows) {
  auto* name = widget<QLineEdit>("edName");
  focusOn(name);
  QTest::keyClicks(name, "Meier");
  EXPECT_EQ(form_->edName.text(), "Meier");
  EXPECT_EQ(form_->log, "change;change;change;change;change;");

  // Leaving the field runs its exit handler, whose change shows at once.
  form_->log.clear();
  focusOn(widget<QLineEdit>("edOther"));
  EXPECT_EQ(form_->log, "exit;");
  EXPECT_EQ(widget<QLineEdit>("edOther")->text(), "aus Meier");

  QTest::mouseClick(widget<QPushButton>("sbGo"), Qt::LeftButton);
  EXPECT_EQ(widget<QLabel>("lbInfo")->text(), "geklickt");
  EXPECT_EQ(widget<QComboBox>("cbList")->count(), 3);
  EXPECT_EQ(widget<QComboBox>("cbList")->currentText(), "Divers");
  EXPECT_TRUE(widget<QLineEdit>("edOther")->isHidden());

  // Radio buttons obey the form's groups; a second click on a checked one keeps it checked.
  test::clickIndicator(widget<QRadioButton>("rbB"), true);
  EXPECT_TRUE(form_->rbB.checked());
  EXPECT_FALSE(widget<QRadioButton>("rbA")->isChecked());
  test::clickIndicator(widget<QRadioButton>("rbB"), true);
  EXPECT_TRUE(widget<QRadioButton>("rbB")->isChecked());

  test::clickIndicator(widget<QCheckBox>("cbCheck"), false);
  EXPECT_TRUE(form_->cbCheck.checked());

  form_->log.clear();
  QTest::mouseClick(widget<QLabel>("lbGo"), Qt::LeftButton);
  QTest::keyClick(view_.get(), Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(form_->log, "label;label;");

  auto* list = widget<QComboBox>("cbList");
  emit list->activated(1);
  EXPECT_EQ(form_->cbList.itemIndex(), 1);
}

TEST_F(BinderTest, MaskedDateKeepsBlanksAsTheFormExpects) {
  form_->medDate.setText("  .  .    ");
  binder_->refresh();
  auto* date = widget<QLineEdit>("medDate");
  EXPECT_EQ(date->displayText(), "  .  .    ");
  focusOn(date);
  date->setCursorPosition(0);
  QTest::keyClicks(date, "0503");
  EXPECT_EQ(form_->medDate.text(), "05.03.    ");
}

TEST_F(BinderTest, ComboBoxKeysReachTheControlAsVirtualKeys) {
  auto* amount = widget<QComboBox>("cbAmount");
  focusOn(amount);
  // Incremental search completes "1" to the first item and selects the completed part.
  QTest::keyClick(amount, Qt::Key_1);
  EXPECT_EQ(amount->currentText(), "100,00");
  EXPECT_EQ(amount->lineEdit()->selectedText(), "00,00");
  EXPECT_EQ(form_->cbAmount.text(), "100,00");

  // Numeric mode drops a letter again; Enter reaches the form's Enter event.
  amount->lineEdit()->clear();
  form_->cbAmount.setText("");
  QTest::keyClick(amount, Qt::Key_A);
  EXPECT_EQ(amount->currentText(), "");
  int enters = 0;
  form_->cbAmount.OnKeyPressEnter = [&](Control*) { ++enters; };
  QTest::keyClick(amount, Qt::Key_Return);
  EXPECT_EQ(enters, 1);

  // A letter typed in the middle goes where it was typed; modifiers and shortcuts change nothing.
  form_->cbAmount.setText("74,00");
  binder_->refresh();
  amount->lineEdit()->setCursorPosition(2);
  QTest::keyClick(amount, Qt::Key_X);
  EXPECT_EQ(amount->currentText(), "74,00");
  QTest::keyClick(amount, Qt::Key_Shift);
  QTest::keyClick(amount, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(amount, Qt::Key_Control);
  EXPECT_EQ(amount->currentText(), "74,00");
  EXPECT_EQ(form_->cbAmount.text(), "74,00");
}

// A numeric box takes digits and the decimal comma only, whatever key of a German keyboard
// typed the character; many of them have no key code of their own.
TEST_F(BinderTest, NumericComboBoxKeepsOnlyDigitsAndTheCommaOfAnyKey) {
  auto* amount = widget<QComboBox>("cbAmount");
  focusOn(amount);
  const Qt::KeyboardModifiers altGr = Qt::ControlModifier | Qt::AltModifier;
  struct Case {
    Qt::Key key;
    const char* typed;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;  // 0: as QTest sends it, without one
    const char* expected;
  } const cases[] = {
      {Qt::Key_unknown, "ä", Qt::NoModifier, 0, "7"},
      {Qt::Key_Odiaeresis, "ö", Qt::NoModifier, 0, "7"},
      {Qt::Key_Udiaeresis, "ü", Qt::NoModifier, 0, "7"},
      {Qt::Key_ssharp, "ß", Qt::NoModifier, 0, "7"},
      {Qt::Key_Plus, "+", Qt::NoModifier, 0, "7"},
      {Qt::Key_NumberSign, "#", Qt::NoModifier, 0, "7"},
      {Qt::Key_Less, "<", Qt::NoModifier, 0, "7"},
      {Qt::Key_Greater, ">", Qt::ShiftModifier, 0, "7"},
      {Qt::Key_Apostrophe, "'", Qt::ShiftModifier, 0, "7"},
      {Qt::Key_Question, "?", Qt::ShiftModifier, 0, "7"},
      {Qt::Key_Underscore, "_", Qt::ShiftModifier, 0, "7"},
      {Qt::Key_Plus, "+", Qt::KeypadModifier, 0, "7"},
      {Qt::Key_Asterisk, "*", Qt::KeypadModifier, 0, "7"},
      {Qt::Key_Slash, "/", Qt::KeypadModifier, 0, "7"},
      {Qt::Key_At, "@", Qt::NoModifier, 0, "7"},  // AltGr+Q on X11
      {Qt::Key_At, "@", altGr, 0, "7"},           // the same where AltGr is Ctrl+Alt
      {Qt::Key_twosuperior, "²", Qt::NoModifier, 0, "7"},
      {Qt::Key_unknown, "€", Qt::NoModifier, 0, "7"},
      {Qt::Key_Semicolon, ";", Qt::ShiftModifier, 0, "7"},
      {Qt::Key_Semicolon, ";", Qt::ShiftModifier, 59, "7"},  // the comma key's scan code
      {Qt::Key_Comma, ",", Qt::NoModifier, 59, "7,"},
      {Qt::Key_Comma, ",", Qt::KeypadModifier, 0, "7,"},
      {Qt::Key_5, "5", Qt::NoModifier, 0, "75"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    form_->cbAmount.setText("7");
    binder_->refresh();
    amount->lineEdit()->setCursorPosition(1);
    const QString text = QString::fromUtf8(c.typed);
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent event(type, c.key, c.modifiers, c.scanCode, 0, 0, text);
      QApplication::sendEvent(amount, &event);
    }
    EXPECT_EQ(amount->currentText().toStdString(), c.expected);
    EXPECT_EQ(form_->cbAmount.text(), c.expected);
  }
  // QTest's own key events, with the text of a key the mapping knows no code for.
  form_->cbAmount.setText("1");
  binder_->refresh();
  amount->lineEdit()->setCursorPosition(1);
  QTest::sendKeyEvent(QTest::Click, amount, Qt::Key_unknown, QString::fromUtf8("ä"),
                      Qt::NoModifier);
  EXPECT_EQ(form_->cbAmount.text(), "100,00");  // "1" again, completed by the search
}

// Only the mouse moves the focus to a button; by its accelerator the field keeps it. Either
// way the field is checked once before the action, and a check that keeps its field stops it.
TEST_F(BinderTest, ButtonsActOnTheCheckedFieldHoweverPressed) {
  auto* name = widget<QLineEdit>("edName");
  auto* go = widget<QPushButton>("sbGo");
  focusOn(name);
  QTest::keyClicks(name, "Meier");
  form_->log.clear();
  QTest::keyClick(name, Qt::Key_A, Qt::AltModifier);
  ASSERT_TRUE(test::waitFor([&] { return form_->log.find("button;") != std::string::npos; }));
  EXPECT_EQ(form_->log, "exit;button;");
  EXPECT_EQ(form_->edOther.text(), "aus Meier");
  EXPECT_TRUE(name->hasFocus());

  // Enter and Space press the focused button; the field was checked already.
  form_->log.clear();
  focusOn(go);
  QTest::keyClick(go, Qt::Key_Return);
  QTest::keyClick(go, Qt::Key_Space);
  EXPECT_EQ(form_->log, "button;button;");

  // A check that keeps the focus in its field says why once; the press does not click.
  form_->refuseName = true;
  focusOn(name);
  QTest::keyClicks(name, "x");
  form_->log.clear();
  QTest::mouseClick(go, Qt::LeftButton);
  EXPECT_EQ(form_->log, "exit;");
  EXPECT_TRUE(name->hasFocus());
  QTest::keyClick(name, Qt::Key_A, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_EQ(form_->log, "exit;exit;");
}

// Enter that answers a question asked by an Enter event is the question's: its release does not
// run the field's Enter event again once the box has gone.
TEST_F(BinderTest, EnterThatAnswersADialogStaysInTheDialog) {
  QtDialogs real;
  int asked = 0;
  form_->cbAmount.OnKeyPressEnter = [&](Control*) {
    ++asked;
    (void)real.askYesNo("Betrag übernehmen?", "Frage");
  };
  focusOn(widget<QComboBox>("cbAmount"));
  test::BoxAnswerer answerer(*view_, Qt::Key_Return, [] { return QString(); });
  QTest::keyClick(view_->windowHandle(), Qt::Key_Return);
  QTest::qWait(150);
  EXPECT_EQ(answerer.texts.join("|").toStdString(), "Betrag übernehmen?");
  EXPECT_EQ(asked, 1);
}

TEST_F(BinderTest, CloseTimerAndWindowGeometryGoThroughTheForm) {
  form_->timer.setEnabled(true);
  binder_->refresh();
  ASSERT_TRUE(test::waitFor([&] { return form_->log == "timer;"; }));

  form_->log.clear();
  view_->move(40, 60);
  EXPECT_EQ(form_->geometry.left, 40);
  EXPECT_EQ(form_->geometry.top, 60);
  view_->close();  // the form closes itself: its handler runs, and the main form ends the app
  EXPECT_EQ(form_->log, "close;");
  EXPECT_TRUE(app_->quitRequested());
}

TEST(QtKeys, VirtualKeyCodesOfReleasedKeys) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    int expected;
  } const cases[] = {
      {Qt::Key_5, Qt::NoModifier, 53},          {Qt::Key_5, Qt::KeypadModifier, 101},
      {Qt::Key_Comma, Qt::KeypadModifier, 110}, {Qt::Key_Period, Qt::KeypadModifier, 110},
      {Qt::Key_Comma, Qt::NoModifier, 188},     {Qt::Key_Period, Qt::NoModifier, 190},
      {Qt::Key_Return, Qt::NoModifier, 13},     {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_F9, Qt::NoModifier, 120},        {Qt::Key_Backspace, Qt::NoModifier, 8},
      {Qt::Key_Backtab, Qt::ShiftModifier, 9},  {Qt::Key_Delete, Qt::NoModifier, 46},
      {Qt::Key_Left, Qt::NoModifier, 37},       {Qt::Key_Down, Qt::NoModifier, 40},
      {Qt::Key_Shift, Qt::ShiftModifier, 16},   {Qt::Key_A, Qt::NoModifier, 65},
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyRelease, c.key, c.modifiers);
    EXPECT_EQ(virtualKeyCode(event), c.expected) << "Qt key " << std::hex << c.key;
  }
  // X11 reports Shift+1 as "!"; the scan code still names the digit key.
  const QKeyEvent shifted(QEvent::KeyRelease, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 0);
  EXPECT_EQ(virtualKeyCode(shifted), '1');
}

TEST(QtStart, NotationWarningNamesWhatIsNotGerman) {
  core::Notation german = core::Notation::german();
  core::Notation english = german;
  english.decimalSeparator = ".";
  english.dateSeparator = '/';
  core::Notation dateOnly = german;
  dateOnly.dateSeparator = '-';
  const std::string numbers =
      "In ihrem System ist die Darstellung der Zahlen nicht korrekt auf deutsche Notation "
      "eingestellt.";
  const std::string dates =
      "In ihrem System ist die Darstellung des Datums nicht korrekt auf deutsche Notation "
      "eingestellt.";
  EXPECT_EQ(notationWarning(german), "");
  EXPECT_EQ(notationWarning(english), numbers + "\n" + dates);
  EXPECT_EQ(notationWarning(dateOnly), dates);
}

TEST(QtStart, StartPictureIsFoundWithoutRegardToCase) {
  test::application();
  const test_support::TempFolder folder("fondaris_qt");
  const QString dir = QString::fromStdString(folder.str());
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(dir + "/Logo.PNG", "PNG"));
  EXPECT_EQ(findStartPicture("logo.png", dir), dir + "/Logo.PNG");
  EXPECT_EQ(findStartPicture("other.png", dir), "");
  EXPECT_EQ(loadStartPicture(dir + "/Logo.PNG").size(), QSize(8, 6));
  EXPECT_TRUE(loadStartPicture(dir + "/fehlt.bmp").isNull());
  EXPECT_EQ(sampleLogo(QSize(320, 200)).size(), QSize(320, 200));
}

TEST(QtDialogsTest, MessageAndQuestionBoxesSpeakGerman) {
  test::application();
  QtDialogs dialogs;
  QStringList seen;
  auto answer = [&](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen << box->windowTitle() << box->text();
      for (QAbstractButton* b : box->buttons()) seen << b->text();
      seen << QString::number(box->icon());
      box->button(button)->click();
    });
  };
  answer(QMessageBox::Ok);
  dialogs.message("Bitte den Namen der Firma angeben!", "Prüfung");
  EXPECT_EQ(seen, QStringList({"Prüfung", "Bitte den Namen der Firma angeben!", "OK", "0"}));

  seen.clear();
  answer(QMessageBox::No);
  EXPECT_FALSE(dialogs.askYesNo("Weiter?", "Daten"));
  EXPECT_TRUE(seen.contains("&Ja") && seen.contains("&Nein")) << seen.join("|").toStdString();
}

}  // namespace
}  // namespace fondaris::qt
