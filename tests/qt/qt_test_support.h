#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "forms/qt/qt_dialogs.h"

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

}  // namespace fondaris::qt::test
