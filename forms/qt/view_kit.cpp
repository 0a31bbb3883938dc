#include "forms/qt/view_kit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

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
      "QLabel[link=\"true\"] { border: 1px solid transparent; }"
      "QLabel[link=\"true\"]:focus { border: 1px dotted palette(highlight); }");
}

namespace {

// Keeps a scroll area as wide as its contents' smallest width and the vertical scroll bar.
class WidthKeeper : public QObject {
 public:
  explicit WidthKeeper(QScrollArea& area) : QObject(&area), area_(area) { update(); }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) update();
    return false;
  }

  void update() {
    QWidget* contents = area_.widget();
    if (!contents) return;
    const int bar = area_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &area_);
    const int width = contents->minimumSizeHint().width() + bar + 2 * area_.frameWidth();
    if (area_.minimumWidth() != width) area_.setMinimumWidth(width);
  }

 private:
  QScrollArea& area_;
};

}  // namespace

void scrollUpAndDownOnly(QWidget& window) {
  for (QScrollArea* area : window.findChildren<QScrollArea*>()) {
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!area->widget()) continue;
    auto* keeper = new WidthKeeper(*area);
    area->widget()->installEventFilter(keeper);
    area->installEventFilter(keeper);
  }
}

QSize naturalSize(QWidget& window) {
  QSize size = window.sizeHint();
  const int height = size.height();
  for (QScrollArea* area : window.findChildren<QScrollArea*>())
    if (QWidget* contents = area->widget(); contents && area->isVisibleTo(&window))
      size.setHeight(std::max(size.height(), height - area->sizeHint().height() +
                                                 contents->sizeHint().height() +
                                                 2 * area->frameWidth()));
  return size;
}

QRect fitInto(QRect frame, QSize minimum, QRect area) {
  const QSize size = frame.size().boundedTo(area.size()).expandedTo(minimum);
  QRect fitted(frame.topLeft(), size);
  if (fitted.right() > area.right()) fitted.moveRight(area.right());
  if (fitted.bottom() > area.bottom()) fitted.moveBottom(area.bottom());
  if (fitted.left() < area.left()) fitted.moveLeft(area.left());
  if (fitted.top() < area.top()) fitted.moveTop(area.top());
  return fitted;
}

int widthToShow(const QWidget& field, const QString& text) {
  int margins = 0;
  if (const auto* edit = qobject_cast<const QLineEdit*>(&field)) {
    const QMargins m = edit->textMargins() + edit->contentsMargins();
    margins = m.left() + m.right();
  }
  const int frame = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &field);
  // The line edit's own margin of 2 on each side, its frame, and one pixel against rounding.
  return field.fontMetrics().horizontalAdvance(text) + margins + 2 * 2 + 2 * frame + 2;
}

}  // namespace fondaris::qt::kit
