#pragma once

#include <QString>
#include <QWidget>

// What the views' Designer files cannot say themselves.
namespace fondaris::qt::kit {

// Gives every widget with the dynamic property "charWidth" (set in the Designer file) a fixed
// width of that many digits.
void applyCharWidths(QWidget& window);

// The common look of the data forms: white fields, disabled fields in the window colour,
// group titles in the brand colour.
QString formStyleSheet();

}  // namespace fondaris::qt::kit
