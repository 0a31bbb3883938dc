#include "forms/einmalanlage/tfrm_einmalanlage.h"

#include "core/files.h"
#include "core/german.h"
#include "core/param_record.h"
#include "forms/app.h"

namespace fondaris::forms {

TfrmEinmalanlage::TfrmEinmalanlage(App& app)
    : Form(app, "TfrmEinmalanlage", "frmEinmalanlage",
           {Placement::Position, Placement::Position, true, false}) {
  setCaption("Jährliche Zuszahlungen");
  pages = {&ts10, &ts20, &ts30, &ts40, &ts50};
  for (Control* c : controls()) {
    const std::string& name = c->name();
    const auto number = [&](std::size_t prefix) { return std::atoi(name.c_str() + prefix); };
    if (name.rfind("cb_Zuzahlung", 0) == 0 && name.size() > 12)
      years[number(12) - 1] = static_cast<ComboBoxInc*>(c);
    else if (name.rfind("lZuZahlEUR", 0) == 0)
      euroLabels[number(10) - 1] = static_cast<Label*>(c);
    else if (name.rfind("lZuZahl", 0) == 0)
      yearLabels[number(7) - 1] = static_cast<Label*>(c);
  }
  const char* const pageCaptions[] = {"1. bis 10. Jahr", "11.-20 Jahr", "21.-30. Jahr",
                                      "31.-40. Jahr", "41.-50. Jahr"};
  for (int k = 0; k < 5; ++k) pages[k]->setCaption(pageCaptions[k]);
  for (int i = 0; i < 50; ++i) {
    yearLabels[i]->setCaption("Zuzahlung zu Beginn des " + std::to_string(i + 2) + ". Jahres");
    euroLabels[i]->setCaption("EUR");
  }
  sbFondsaufteilung.setCaption("&Übernehmen");
  sbFondsaufteilung.setHint("Werte übernehmen");
  sb_Abbruch.setCaption("&Abbruch");
  sb_Abbruch.setHint("Eingabe abbrechen");
  cb_Zuzahlung.setDropDownList(true);

  cb_Zuzahlung.onChange = on(&TfrmEinmalanlage::cb_ZuzahlungChange);
  for (ComboBoxInc* box : years) {
    box->Numeric = true;
    box->onExit = on(&TfrmEinmalanlage::FormatZuzahlungExit);
  }
  cb_Zuzahlung.Numeric = true;
  sbFondsaufteilung.onClick = on(&TfrmEinmalanlage::sbFondsaufteilungClick);
  sb_Abbruch.onClick = on(&TfrmEinmalanlage::sb_AbbruchClick);

  // The contract form, created before, has already reported unreadable product data.
  core::ParamRecord record;
  if (core::readParamRecord(core::workingDirectory(), record, nullptr) != 0) return;
  std::vector<std::string> items = {core::formatAmount(0), core::formatAmount(480)};
  for (int v = 500; v <= 4900; v += 100) items.push_back(core::formatAmount(v));
  for (int v = 5000; v <= 14500; v += 500) items.push_back(core::formatAmount(v));
  for (int v = 15000; v <= 100000; v += 1000) items.push_back(core::formatAmount(v));
  for (Control* c : controls())
    if (c->name().rfind("cb_Zuzahlung", 0) == 0) {
      c->setItems(items);
      c->setItemIndex(0);
    }
}

void TfrmEinmalanlage::cb_ZuzahlungChange(Control*) {
  for (Control* c : controls())
    if (c != &cb_Zuzahlung && c->name().rfind("cb_Zuzahlung", 0) == 0)
      c->setText(cb_Zuzahlung.text());
}

void TfrmEinmalanlage::FormatZuzahlungExit(Control* sender) {
  if (sender) sender->setText(core::formatAmount(core::parseAmount(sender->text())));
}

void TfrmEinmalanlage::sbFondsaufteilungClick(Control*) {
  modalResult = ModalResult::Ok;
}

void TfrmEinmalanlage::sb_AbbruchClick(Control*) {
  modalResult = ModalResult::Cancel;
}

}  // namespace fondaris::forms
