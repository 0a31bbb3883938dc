#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <filesystem>

#include "core/files.h"
#include "core/notation.h"
#include "forms/controls/form.h"
#include "forms/qt/qt_presenter.h"

#include "forms/qt/qt_dialogs.h"
#include "tests/support/process_settings.h"
#include "tests/support/temp_folder.h"

namespace fondaris::qt::test {

// One application object for the whole test program, with the German Qt texts.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    installGermanTranslations();
    return a;
  }();
  return *app;
}

// A test's own working folder with the sample product data, in German notation; a
// ProcessSettingsGuard made before restores both.
inline void useWorkFolder(const test_support::TempFolder& work) {
  std::filesystem::copy_file(std::filesystem::path(FONDARIS_BUILD_DIR) / "Param.dat",
                             work.path() / "Param.dat");
  core::setWorkingDirectory(work.str());
  core::notation() = core::Notation::german();
}

// The widget of a form's view that carries `name`.
template <class W>
W* viewChild(QtPresenter& presenter, const forms::Form& form, const char* name) {
  W* w = presenter.view(form)->findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Waits until `condition` holds, processing events; false after `ms` milliseconds.
template <class F>
bool waitFor(F condition, int ms = 3000) {
  return QTest::qWaitFor(condition, ms);
}

// A stretched check box or radio button only reacts on its indicator and text.
inline void clickIndicator(QAbstractButton* button, bool radio) {
  QStyleOptionButton option;
  option.initFrom(button);
  const QRect r = button->style()->subElementRect(
      radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, r.center());
}

// Replaces the text of a field from the keyboard, then leaves it with Tab.
inline void typeInto(QWidget* field, const QString& text) {
  field->setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(waitFor([field] { return field->hasFocus(); }));
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
  QTest::keyClick(field->window()->windowHandle(), Qt::Key_Tab);
}

}  // namespace fondaris::qt::test
