#include "forms/einmalanlage/tfrm_einmalanlage.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/param_record.h"
#include "core/shell.h"
#include "forms/form_links.h"

namespace fondaris::forms {

TfrmEinmalanlage::TfrmEinmalanlage(FormHost& host)
    : Form(host, "TfrmEinmalanlage", "frmEinmalanlage",
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
  if (!host.productData(nullptr)) return;
  std::vector<std::string> items = {core::formatAmount(0), core::formatAmount(480)};
  for (int v = 500; v <= 4900; v += 100) items.push_back(core::formatAmount(v));
  for (int v = 5000; v <= 14500; v += 500) items.push_back(core::formatAmount(v));
  for (int v = 15000; v <= 100000; v += 1000) items.push_back(core::formatAmount(v));
  const auto shared = std::make_shared<const std::vector<std::string>>(std::move(items));
  for (Control* c : controls())
    if (c->name().rfind("cb_Zuzahlung", 0) == 0) {
      c->shareItems(shared);
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

TopUpsEdit TfrmEinmalanlage::edit(std::array<double, 51>& topUps, int open) {
  for (int i = 1; i <= 50; ++i) {
    years[i - 1]->setText(core::formatAmount(topUps[i]));
    for (Control* c :
         std::initializer_list<Control*>{years[i - 1], yearLabels[i - 1], euroLabels[i - 1]})
      c->setVisible(i <= open);
  }
  static const char* const kFull[] = {"2. bis 11. Jahr", "12. bis 21. Jahr", "22. bis 31. Jahr",
                                      "32. bis 41. Jahr", "42. bis 51. Jahr"};
  for (int k = 1; k <= 5; ++k) {
    TabSheet& page = *pages[k - 1];
    page.setCaption(open >= 10 * k ? std::string(kFull[k - 1])
                                   : std::to_string(10 * k - 8) + ". bis " +
                                         std::to_string(open + 1) + ". Jahr");
    if (k > 1) page.setVisible(open > 10 * (k - 1));
  }
  pcZuzahlung.setActivePage(0);
  cb_Zuzahlung.setItemIndex(0);
  TopUpsEdit result;
  if (showModal() != ModalResult::Ok) return result;

  result.accepted = true;
  for (int i = 1; i <= 50; ++i) {
    double value = core::parseAmount(years[i - 1]->text());
    if (value > 0 && i <= open && value < kMinimumTopUp) {
      value = kMinimumTopUp;
      result.corrected = true;
    }
    topUps[i] = value;
  }
  return result;
}

}  // namespace fondaris::forms
