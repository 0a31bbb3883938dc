#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"

namespace fondaris::qt {

using kit::label;
using kit::named;

namespace {

// One sales setting: label, list, "%".
void salesRow(QGridLayout* g, int row, const char* labelName, const QString& caption,
              const char* listName, const char* percentName) {
  auto* list = named<QComboBox>(listName);
  kit::setCharWidth(list, 4);
  auto* l = named<QLabel>(labelName);
  l->setText(caption);
  l->setBuddy(list);
  auto* percent = named<QLabel>(percentName);
  percent->setText("%");
  g->addWidget(l, row, 0);
  g->addWidget(list, row, 1);
  g->addWidget(percent, row, 2);
}

}  // namespace

std::unique_ptr<QWidget> makeVermittlerView() {
  auto window = std::make_unique<QWidget>();
  window->setObjectName("frmVermittler");
  window->setWindowTitle("Vermittlerdaten");
  window->setStyleSheet(kit::formStyleSheet());
  auto* outer = new QVBoxLayout(window.get());
  outer->setContentsMargins(14, 10, 14, 12);
  outer->setSpacing(8);

  // Company and address.
  auto* firm = kit::group("Vermittler");
  auto* g = kit::grid(firm);
  auto* firma = named<QLineEdit>("edV_Firma");
  auto* partner = named<QLineEdit>("edV_Ansprechpartner");
  auto* street = named<QLineEdit>("edV_Strasse");
  auto* country = named<QComboBox>("cbV_Land");
  kit::setCharWidth(country, 2);
  auto* plz = named<QLineEdit>("edV_PLZ");
  kit::setCharWidth(plz, 6);
  auto* place = named<QLineEdit>("edV_Ort");
  g->addWidget(label("&Firma", firma), 0, 0);
  g->addWidget(firma, 0, 1, 1, 3);
  g->addWidget(label("&Ansprechpartner", partner), 1, 0);
  g->addWidget(partner, 1, 1, 1, 3);
  g->addWidget(label("St&raße", street), 2, 0);
  g->addWidget(street, 2, 1, 1, 3);
  g->addWidget(label("&PLZ / Ort", country), 3, 0);
  auto* placeRow = new QHBoxLayout;
  placeRow->addWidget(country);
  placeRow->addWidget(plz);
  placeRow->addWidget(place, 1);
  g->addLayout(placeRow, 3, 1, 1, 3);
  outer->addWidget(firm);

  // Ways to reach the agent.
  auto* contact = kit::group("Erreichbarkeit");
  g = kit::grid(contact);
  auto* phone = named<QLineEdit>("edV_Telefon");
  auto* fax = named<QLineEdit>("edV_FAX");
  auto* mobile = named<QLineEdit>("edV_Mobil");
  auto* mail = named<QLineEdit>("edV_E_mail");
  auto* web = named<QLineEdit>("edV_Internet");
  g->addWidget(label("&Telefon-Nr.", phone), 0, 0);
  g->addWidget(phone, 0, 1);
  g->addWidget(label("Fa&x", fax), 0, 2);
  g->addWidget(fax, 0, 3);
  g->addWidget(label("&Mobiltel.", mobile), 1, 0);
  g->addWidget(mobile, 1, 1);
  g->addWidget(label("&E-mail", mail), 1, 2);
  g->addWidget(mail, 1, 3);
  g->addWidget(label("&Internetadresse ", web), 2, 0);
  g->addWidget(web, 2, 1, 1, 3);
  outer->addWidget(contact);

  // Agent numbers; the stored-only fields sit here too and stay hidden.
  auto* numbers = kit::group("Vermittlernummern");
  g = kit::grid(numbers);
  auto* nr1 = named<QLineEdit>("edV_Vermittlernr1");
  auto* nr2 = named<QLineEdit>("edV_Vermittlernr2");
  auto* nr = named<QLineEdit>("edV_Vermittlernr");
  auto* nr3 = named<QLineEdit>("edV_Vermittlernr3");
  auto* logo = named<QLineEdit>("edV_Logo");
  auto* form = named<QLineEdit>("ed_Antrag");
  auto* formLabel = named<QLabel>("lbAntrag");
  formLabel->setText("Antragsformular");
  formLabel->setBuddy(form);
  g->addWidget(label("Vermittler&nummer", nr1), 0, 0);
  g->addWidget(nr1, 0, 1);
  g->addWidget(label("&Untervermittlernummer", nr2), 0, 2);
  g->addWidget(nr2, 0, 3);
  g->addWidget(nr, 1, 1);
  g->addWidget(nr3, 1, 3);
  g->addWidget(label("Vermittlerlogo", logo), 2, 0);
  g->addWidget(logo, 2, 1);
  g->addWidget(formLabel, 2, 2);
  g->addWidget(form, 2, 3);
  for (QWidget* w :
       {static_cast<QWidget*>(nr), static_cast<QWidget*>(nr3), static_cast<QWidget*>(logo),
        static_cast<QWidget*>(form), static_cast<QWidget*>(formLabel)})
    w->hide();
  outer->addWidget(numbers);

  // Internal sales settings, shown only after the internal code was given.
  auto* sales = kit::group("Interne Rabattierung", true);
  g = new QGridLayout(sales);
  g->setHorizontalSpacing(10);
  salesRow(g, 0, "lb_Rabat", "Rabatt VL", "cb_Rabat", "lb_RabatProz");
  salesRow(g, 1, "lb_RabatZSp", "Rabatt Zielsparplan", "cb_RabatZSp", "lb_RabatProzZSp");
  salesRow(g, 2, "lb_ZuzahlKunde", "Zahlung zu Beginn VL", "cb_ZuzahlKunde", "lb_ZuzahlKundeProz");
  salesRow(g, 3, "lb_ZuzahlKundeZSp", "Zahlung zu Beginn Zielsparplan", "cb_ZuzahlKundeZSp",
           "lb_ZuzahlKundeProzZSp");
  auto* saveSales = named<QCheckBox>("cbSaveRabat");
  saveSales->setText("Rabatteinstellung speichern");
  g->addWidget(saveSales, 4, 0, 1, 3);
  g->setColumnStretch(3, 1);
  outer->addWidget(sales);

  auto* hint = named<QCheckBox>("cbDatumshinweis");
  hint->setText("Wä&hrungs- und Datumshinweis anzeigen");
  outer->addWidget(hint);
  auto* hotKey = named<QKeySequenceEdit>("HotKeyHelp");
  hotKey->hide();
  outer->addWidget(hotKey);
  auto* help = new QAction("&Hilfe", window.get());
  help->setObjectName("mHilfe");
  window->addAction(help);
  outer->addStretch(1);

  auto* buttons = new QHBoxLayout;
  auto* internal = named<QPushButton>("sbMaxBZD");
  internal->setText("intern");
  internal->setToolTip("Interne Rabattierung aktivieren");
  internal->setFlat(true);
  auto* save = named<QPushButton>("sbV_Speichern");
  save->setText("Daten &speichern");
  save->setToolTip("Die Daten im Vermittlerformular speichern und zum Angebotsprogramm zurück");
  auto* leave = named<QPushButton>("sbV_Abbruch");
  leave->setText("&Verlassen ohne speichern");
  leave->setToolTip("Das Formular mit den Vermittlerdaten verlassen, ohne Speicherung der Daten");
  buttons->addWidget(internal);
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(leave);
  outer->addLayout(buttons);

  QWidget::setTabOrder(firma, partner);
  QWidget::setTabOrder(partner, street);
  QWidget::setTabOrder(street, country);
  QWidget::setTabOrder(country, plz);
  QWidget::setTabOrder(plz, place);
  QWidget::setTabOrder(place, phone);
  QWidget::setTabOrder(phone, fax);
  QWidget::setTabOrder(fax, mobile);
  QWidget::setTabOrder(mobile, mail);
  QWidget::setTabOrder(mail, web);
  QWidget::setTabOrder(web, nr1);
  QWidget::setTabOrder(nr1, nr2);
  QWidget::setTabOrder(nr2, hint);
  QWidget::setTabOrder(hint, save);
  QWidget::setTabOrder(save, leave);
  QWidget::setTabOrder(leave, internal);
  window->setMinimumWidth(620);
  return window;
}

}  // namespace fondaris::qt
