#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"

namespace fondaris::qt {

using kit::label;
using kit::named;

namespace {

QLineEdit* edit(const char* name) {
  return named<QLineEdit>(name);
}

QComboBox* list(const char* name, int chars = 0) {
  auto* box = named<QComboBox>(name);
  if (chars > 0) kit::setCharWidth(box, chars);
  return box;
}

// Birth date or age: two radio buttons, each with its field.
QHBoxLayout* birthRow(QRadioButton* byDate, QLineEdit* date, QRadioButton* byAge, QComboBox* age) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  kit::setCharWidth(date, 10);
  kit::setCharWidth(age, 3);
  row->addWidget(byDate);
  row->addWidget(date);
  row->addSpacing(24);
  row->addWidget(byAge);
  row->addWidget(age);
  row->addStretch(1);
  return row;
}

}  // namespace

std::unique_ptr<QWidget> makeAngebotsdatenView() {
  auto window = std::make_unique<QWidget>();
  window->setObjectName("frmAngebotsdaten");
  window->setWindowTitle("Angebotsdaten");
  window->setStyleSheet(kit::formStyleSheet());
  auto* outer = new QVBoxLayout(window.get());
  outer->setContentsMargins(14, 10, 14, 12);
  outer->setSpacing(8);

  // Product variant.
  auto* product = named<QGroupBox>("box0");
  product->setTitle("Produkt");
  auto* productRow = new QHBoxLayout(product);
  auto* prod = named<QRadioButton>("rbProd");
  prod->setText("Fondaris VL");
  auto* prod1 = named<QRadioButton>("rbProd1");
  prod1->setText("Fondaris");
  productRow->addWidget(prod);
  productRow->addSpacing(30);
  productRow->addWidget(prod1);
  productRow->addStretch(1);
  outer->addWidget(product);

  // Account holder.
  auto* holder = named<QGroupBox>("boxVN");
  holder->setTitle("Depotinhaber");
  auto* g = kit::grid(holder);
  auto* salutation = list("cbVN_Anrede", 6);
  auto* title = edit("edVN_Titel");
  auto* first = edit("edVN_Vorname");
  auto* last = edit("edVN_Nachname");
  auto* street = edit("edVN_Strasse");
  auto* house = edit("edVN_HausNr");
  kit::setCharWidth(house, 5);
  auto* country = list("cbVN_Land", 2);
  auto* plz = edit("edVN_PLZ");
  kit::setCharWidth(plz, 6);
  auto* place = edit("edVN_Ort");
  auto* phone = edit("edVN_Telefon");
  auto* fax = edit("edVN_FAX");
  auto* mail = edit("edVN_E_mail");
  auto* phoneWork = edit("edVN_TelefonDienstlich");
  auto* status = list("cbVN_Stand");
  auto* nation = edit("edVN_Nation");
  auto* birthName = edit("edVN_GebName");
  auto* birthPlace = edit("edVN_GebOrt");
  auto* birthCountry = edit("edVN_GebLand");
  auto* taxAbroad = named<QCheckBox>("cbSteuerAusland");
  taxAbroad->setText("Steuerliche Veranlagung im A&usland");
  auto* job = list("cbVN_ArtBeruf");
  auto* byDate = named<QRadioButton>("rbVN_Geburtstag");
  byDate->setText("Geburtstag");
  auto* byAge = named<QRadioButton>("rbVN_Alter");
  byAge->setText("Alter");
  auto* birth = edit("medVN_Geburtstag");
  auto* age = list("cbVN_Alter");

  auto* salutationRow = new QHBoxLayout;
  salutationRow->setSpacing(8);
  salutationRow->addWidget(salutation);
  salutationRow->addSpacing(12);
  salutationRow->addWidget(label("T&itel", title));
  salutationRow->addWidget(title, 1);
  g->addWidget(label("&Anrede", salutation), 0, 0);
  g->addLayout(salutationRow, 0, 1, 1, 3);
  g->addWidget(label("V&orname", first), 1, 0);
  g->addWidget(first, 1, 1);
  g->addWidget(label("&Nachname", last), 1, 2);
  g->addWidget(last, 1, 3);
  auto* streetRow = new QHBoxLayout;
  streetRow->setSpacing(8);
  streetRow->addWidget(street, 1);
  streetRow->addSpacing(12);
  streetRow->addWidget(label("Hausn&r", house));
  streetRow->addWidget(house);
  g->addWidget(label("&Straße", street), 2, 0);
  g->addLayout(streetRow, 2, 1, 1, 3);
  auto* placeRow = new QHBoxLayout;
  placeRow->addWidget(country);
  placeRow->addWidget(plz);
  placeRow->addWidget(place, 1);
  g->addWidget(label("&PLZ / Ort", country), 3, 0);
  g->addLayout(placeRow, 3, 1, 1, 3);
  g->addWidget(label("Te&lefon", phone), 4, 0);
  g->addWidget(phone, 4, 1);
  g->addWidget(label("Fa&x", fax), 4, 2);
  g->addWidget(fax, 4, 3);
  g->addWidget(label("E-&mail", mail), 5, 0);
  g->addWidget(mail, 5, 1);
  g->addWidget(label("Tel. dienstlich", phoneWork), 5, 2);
  g->addWidget(phoneWork, 5, 3);
  g->addWidget(label("&Familienstand", status), 6, 0);
  g->addWidget(status, 6, 1);
  g->addWidget(label("Nationali&tät", nation), 6, 2);
  g->addWidget(nation, 6, 3);
  g->addWidget(label("Geb. Nam&e", birthName), 7, 0);
  g->addWidget(birthName, 7, 1);
  g->addWidget(label("Geb. Or&t", birthPlace), 7, 2);
  g->addWidget(birthPlace, 7, 3);
  g->addWidget(label("Geb. Lan&d", birthCountry), 8, 0);
  g->addWidget(birthCountry, 8, 1);
  g->addWidget(label("Beruf", job), 8, 2);
  g->addWidget(job, 8, 3);
  g->addWidget(taxAbroad, 9, 1, 1, 3);
  g->addWidget(label("Geburtsdatum"), 10, 0);
  g->addLayout(birthRow(byDate, birth, byAge, age), 10, 1, 1, 3);
  outer->addWidget(holder);

  // Insured person: mirrors the account holder while "wie Versicherungsnehmer" is ticked.
  auto* insured = named<QGroupBox>("boxVP");
  insured->setTitle("Versicherte Person");
  g = kit::grid(insured);
  auto* same = named<QCheckBox>("cbVP_WieVN");
  same->setText("wie Versicherungsnehmer");
  auto* vpSalutation = list("cbVP_Anrede", 6);
  auto* vpTitle = edit("edVP_Titel");
  auto* vpFirst = edit("edVP_Vorname");
  auto* vpLast = edit("edVP_Nachname");
  auto* vpStreet = edit("edVP_Strasse");
  auto* vpCountry = list("cbVP_Land", 2);
  auto* vpPlz = edit("edVP_PLZ");
  kit::setCharWidth(vpPlz, 6);
  auto* vpPlace = edit("edVP_Ort");
  auto* vpPhone = edit("edVP_Telefon");
  auto* vpFax = edit("edVP_FAX");
  auto* vpPhoneWork = edit("edVP_TelefonDienstlich");
  auto* vpMail = edit("edVP_E_mail");
  auto* vpByDate = named<QRadioButton>("rbVP_Geburtstag");
  vpByDate->setText("Geburtstag");
  auto* vpByAge = named<QRadioButton>("rbVP_Alter");
  vpByAge->setText("Alter");
  auto* vpBirth = edit("medVP_Geburtstag");
  auto* vpAge = list("cbVP_Alter");
  g->addWidget(same, 0, 1, 1, 3);
  auto* vpSalutationRow = new QHBoxLayout;
  vpSalutationRow->setSpacing(8);
  vpSalutationRow->addWidget(vpSalutation);
  vpSalutationRow->addSpacing(12);
  vpSalutationRow->addWidget(label("Titel", vpTitle));
  vpSalutationRow->addWidget(vpTitle, 1);
  g->addWidget(label("Anrede", vpSalutation), 1, 0);
  g->addLayout(vpSalutationRow, 1, 1, 1, 3);
  g->addWidget(label("Vorname", vpFirst), 2, 0);
  g->addWidget(vpFirst, 2, 1);
  g->addWidget(label("Nachname", vpLast), 2, 2);
  g->addWidget(vpLast, 2, 3);
  g->addWidget(label("Straße", vpStreet), 3, 0);
  g->addWidget(vpStreet, 3, 1, 1, 3);
  auto* vpPlaceRow = new QHBoxLayout;
  vpPlaceRow->addWidget(vpCountry);
  vpPlaceRow->addWidget(vpPlz);
  vpPlaceRow->addWidget(vpPlace, 1);
  g->addWidget(label("PLZ / Ort", vpCountry), 4, 0);
  g->addLayout(vpPlaceRow, 4, 1, 1, 3);
  g->addWidget(label("Tel. privat", vpPhone), 5, 0);
  g->addWidget(vpPhone, 5, 1);
  g->addWidget(label("Fax", vpFax), 5, 2);
  g->addWidget(vpFax, 5, 3);
  g->addWidget(label("E-mail", vpMail), 6, 0);
  g->addWidget(vpMail, 6, 1);
  g->addWidget(label("Tel. dienstlich", vpPhoneWork), 6, 2);
  g->addWidget(vpPhoneWork, 6, 3);
  g->addWidget(label("Geburtsdatum"), 7, 0);
  g->addLayout(birthRow(vpByDate, vpBirth, vpByAge, vpAge), 7, 1, 1, 3);
  outer->addWidget(insured);

  auto* hiddenRow = new QHBoxLayout;
  auto* hiddenCheck = named<QCheckBox>("cbHidden");
  hiddenCheck->hide();
  auto* hotKey = named<QKeySequenceEdit>("HotKeyHelp");
  hotKey->hide();
  hiddenRow->addWidget(hiddenCheck);
  hiddenRow->addWidget(hotKey);
  outer->addLayout(hiddenRow);
  auto* help = new QAction("&Hilfe", window.get());
  help->setObjectName("mHilfe");
  window->addAction(help);
  outer->addStretch(1);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const char* name, const QString& caption) {
    auto* b = named<QPushButton>(name);
    b->setText(caption);
    buttons->addWidget(b);
    return b;
  };
  auto* agent = button("sb_Vermittler", "&Vermittlerdaten");
  auto* load = button("cb_Angebot_laden", "&Gespeichertes Angebot");
  auto* blank = button("sb_Formular", "Blankoantrag");
  auto* checklist = button("cb_Checkliste", "&Checkliste");
  auto* fsa = button("sb_FSA", "PDF-&FSA");
  checklist->hide();
  fsa->hide();
  buttons->addStretch(1);
  auto* next = button("sb_Angebotsbrechnung", "&Weiter");
  auto* quit = button("sb_Abbruch", "&Beenden");
  outer->addLayout(buttons);

  const QList<QWidget*> order = {
      prod,      prod1,     salutation, title,        first,   last,      street,      house,
      country,   plz,       place,      phone,        fax,     mail,      phoneWork,   status,
      nation,    birthName, birthPlace, birthCountry, job,     taxAbroad, byDate,      birth,
      byAge,     age,       same,       vpSalutation, vpTitle, vpFirst,   vpLast,      vpStreet,
      vpCountry, vpPlz,     vpPlace,    vpPhone,      vpFax,   vpMail,    vpPhoneWork, vpByDate,
      vpBirth,   vpByAge,   vpAge,      next,         agent,   load,      blank,       checklist,
      fsa,       quit};
  for (int i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
  window->setMinimumWidth(700);
  return window;
}

}  // namespace fondaris::qt
