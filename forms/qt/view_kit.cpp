#include "forms/qt/view_kit.h"

#include <QFontMetrics>

namespace fondaris::qt::kit {

QLabel* label(const QString& text, QWidget* buddy) {
  auto* l = new QLabel(text);
  if (buddy) l->setBuddy(buddy);
  return l;
}

QGroupBox* group(const QString& title, bool autoHide) {
  auto* g = new QGroupBox(title);
  if (autoHide) g->setProperty("autoHide", true);
  return g;
}

QGridLayout* grid(QWidget* parent) {
  auto* g = new QGridLayout(parent);
  g->setHorizontalSpacing(10);
  g->setVerticalSpacing(6);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  return g;
}

void setCharWidth(QWidget* w, int chars) {
  const QFontMetrics fm(w->font());
  w->setFixedWidth(fm.horizontalAdvance(QString(chars, '0')) + 34);
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
      "QPushButton { min-height: 26px; padding: 0 14px; }");
}

}  // namespace fondaris::qt::kit
