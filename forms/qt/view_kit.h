#pragma once

#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QString>
#include <QWidget>

// Small helpers that keep the code-built views readable: every widget that stands for a control
// gets the control's name as objectName.
namespace fondaris::qt::kit {

// Brand colour of captions and choice labels.
inline const QColor kBrand(14, 52, 91);

template <class W>
W* named(const char* name, QWidget* parent = nullptr) {
  auto* w = new W(parent);
  w->setObjectName(name);
  return w;
}

// An unnamed label for `buddy`; the binder hides it together with its buddy.
QLabel* label(const QString& text, QWidget* buddy = nullptr);

// An unnamed group box; with `autoHide` it disappears while nothing inside it is visible.
QGroupBox* group(const QString& title, bool autoHide = false);

// A grid with the form's spacing; column 0 and 2 hold labels, 1 and 3 stretch.
QGridLayout* grid(QWidget* parent);

// Fixed width for short fields (postcode, country, percentages), in characters.
void setCharWidth(QWidget* w, int chars);

// The common look of the data forms: white fields, disabled fields in the window colour,
// group titles in the brand colour.
QString formStyleSheet();

}  // namespace fondaris::qt::kit
