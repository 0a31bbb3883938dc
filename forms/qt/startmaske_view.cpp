#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"

namespace fondaris::qt {

using kit::named;

namespace {

// The three ways on: labels that act as buttons.
QLabel* actionLabel(const char* name, const QString& caption) {
  auto* l = named<QLabel>(name);
  l->setText(caption);
  l->setMinimumWidth(220);
  l->setStyleSheet(
      "QLabel { color: rgb(14,52,91); font-size: 13pt; font-weight: bold; padding: 7px 14px;"
      "  border: 1px solid rgb(176,192,214); border-radius: 5px; background: rgb(243,246,250); }"
      "QLabel:hover { background: rgb(222,232,245); border-color: rgb(14,52,91); }");
  return l;
}

QHBoxLayout* productRow(const char* radioName, const char* labelName, const QString& caption) {
  auto* row = new QHBoxLayout;
  auto* radio = named<QRadioButton>(radioName);
  auto* label = named<QLabel>(labelName);
  label->setText(caption);
  label->setCursor(Qt::PointingHandCursor);
  label->setStyleSheet("QLabel { color: rgb(14,52,91); font-size: 12pt; font-weight: bold; }");
  row->addWidget(radio);
  row->addWidget(label, 1);
  return row;
}

}  // namespace

std::unique_ptr<QWidget> makeStartmaskeView() {
  auto window = std::make_unique<QWidget>();
  window->setObjectName("frmStartmaske");
  window->setWindowTitle("Angebotsprogram - Start");
  window->setStyleSheet("QWidget#frmStartmaske { background: white; }");

  auto* outer = new QVBoxLayout(window.get());
  outer->setContentsMargins(18, 18, 18, 10);
  auto* body = new QHBoxLayout;
  outer->addLayout(body, 1);

  auto* logo = named<QLabel>("iLogo");
  logo->setFixedSize(340, 250);
  logo->setScaledContents(true);
  body->addWidget(logo, 0, Qt::AlignTop);
  body->addSpacing(24);

  auto* right = new QVBoxLayout;
  body->addLayout(right, 1);
  auto* heading = new QLabel("Angebotsprogramm");
  heading->setStyleSheet("QLabel { color: rgb(14,52,91); font-size: 18pt; font-weight: bold; }");
  right->addWidget(heading);
  auto* subtitle = new QLabel("Bitte wählen Sie das Produkt:");
  subtitle->setStyleSheet("QLabel { color: rgb(70,80,95); }");
  right->addWidget(subtitle);
  right->addSpacing(4);
  right->addLayout(productRow("rbProd", "lbProdukt", "Fondaris VL"));
  right->addLayout(productRow("rbProd1", "lbProdukt1", "Fondaris"));
  right->addSpacing(18);
  right->addWidget(actionLabel("lb_Vermittler", "&Vermittlerdaten"));
  right->addWidget(actionLabel("lb_Angebotsdaten", "Angebots&daten"));
  right->addWidget(actionLabel("lb_Beenden", "&Beenden"));

  // Designed as buttons too, but never shown: the labels above act for them.
  auto* hidden = new QHBoxLayout;
  struct {
    const char* name;
    const char* caption;
    const char* hint;
  } const buttons[] = {
      {"sb_Vermittler", "&Vermittlerdaten", "Zum Vermittlerformular"},
      {"cb_Angebotsdaten", "Angebots&daten", "Angebotsformular"},
      {"sb_Beenden", "&Beenden", "Angebotsprogramm beenden"},
  };
  for (const auto& b : buttons) {
    auto* button = named<QPushButton>(b.name);
    button->setText(b.caption);
    button->setToolTip(b.hint);
    button->hide();
    hidden->addWidget(button);
  }
  right->addLayout(hidden);
  right->addStretch(1);

  auto* footer = new QHBoxLayout;
  auto* version = named<QLabel>("lbStartVersion");
  version->setText("Version 1.0.0");
  version->setStyleSheet("QLabel { color: rgb(90,100,115); }");
  footer->addWidget(version);
  footer->addStretch(1);
  auto* help = named<QLabel>("lbStartHelp");
  help->setText("<?>");
  help->setTextFormat(Qt::PlainText);
  footer->addWidget(help);
  outer->addLayout(footer);
  return window;
}

}  // namespace fondaris::qt
