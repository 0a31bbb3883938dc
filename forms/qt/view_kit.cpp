#include "forms/qt/view_kit.h"

#include <QFontMetrics>

namespace fondaris::qt::kit {

void applyCharWidths(QWidget& window) {
  for (QWidget* w : window.findChildren<QWidget*>()) {
    const int chars = w->property("charWidth").toInt();
    if (chars <= 0) continue;
    const QFontMetrics fm(w->font());
    w->setFixedWidth(fm.horizontalAdvance(QString(chars, '0')) + 34);
  }
}

QString formStyleSheet() {
  return QStringLiteral(
      "QGroupBox { font-weight: bold; color: rgb(14,52,91); border: 1px solid rgb(190,200,214);"
      "  border-radius: 4px; margin-top: 12px; padding: 8px 6px 6px 6px; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"
      "QGroupBox QLabel, QGroupBox QCheckBox, QGroupBox QRadioButton { font-weight: normal;"
      "  color: black; }"
      "QLineEdit, QComboBox { min-height: 22px; }"
      "QLineEdit:disabled, QComboBox:disabled { background: palette(window); color: gray; }"
      "QPushButton { min-height: 26px; padding: 0 14px; }"
      "QLabel[link=\"true\"]:focus { border: 1px dotted palette(highlight); }");
}

}  // namespace fondaris::qt::kit
