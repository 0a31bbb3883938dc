#include <QWidget>

#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"
#include "ui_angebotsdialog_view.h"
#include "ui_pruefung_view.h"

namespace fondaris::qt {

namespace {

// Designer names every widget; captions and frames carry "qt_" names there so that the binder
// leaves them alone. Without their names, labels follow their buddies' visibility again.
void unnameDecoration(QWidget& window) {
  for (QWidget* w : window.findChildren<QWidget*>())
    if (w->objectName().startsWith("qt_label_")) w->setObjectName(QString());
}

}  // namespace

std::unique_ptr<QWidget> makeAngebotsdialogView() {
  auto window = std::make_unique<QWidget>();
  Ui::AngebotsdialogView().setupUi(window.get());
  unnameDecoration(*window);
  window->setStyleSheet(kit::formStyleSheet());
  return window;
}

std::unique_ptr<QWidget> makePruefungView() {
  auto window = std::make_unique<QWidget>();
  Ui::PruefungView().setupUi(window.get());
  window->setStyleSheet(kit::formStyleSheet());
  return window;
}

}  // namespace fondaris::qt
