#pragma once

#include <QRect>
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

// Scroll areas of a view scroll up and down only: each is at least as wide as what it holds,
// so a long page scrolls on a low screen and nothing is cut at its side.
void scrollUpAndDownOnly(QWidget& window);

// The size that shows a view with every scroll area's contents whole (the screen may then
// allow less: the window is fitted onto it when placed).
QSize naturalSize(QWidget& window);

// Where a window of `frame` (its outer rectangle, title bar included) goes on a screen whose
// free area is `area`: no larger than the area (never below `minimum`, the frame around the
// smallest contents) and moved inside it; where even the smallest does not fit, its top left
// corner stays visible.
QRect fitInto(QRect frame, QSize minimum, QRect area);

// Room a read-only field needs to show `text` whole, its frame and margins included.
int widthToShow(const QWidget& field, const QString& text);
}  // namespace fondaris::qt::kit
