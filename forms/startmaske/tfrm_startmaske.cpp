#include "forms/startmaske/tfrm_startmaske.h"

#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/param_record.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/form_links.h"

namespace fondaris::forms {

namespace {

// The directory entry named `name` regardless of letter case, as it is spelt on disk.
std::string findEntry(const std::string& directory, const std::string& name) {
  std::error_code ec;
  const std::string wanted = core::lowerAscii(name);
  for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
    const std::string found = entry.path().filename().string();
    if (core::lowerAscii(found) == wanted) return found;
  }
  return {};
}

}  // namespace

TfrmStartmaske::TfrmStartmaske(FormHost& host)
    : Form(host, "TfrmStartmaske", "frmStartmaske", {Placement::Position, Placement::Position}) {
  setCaption("Angebotsprogram - Start");
  lbStartVersion.setCaption("Version 1.0.0");
  lbProdukt.setCaption("Fondaris VL");
  lbProdukt1.setCaption("Fondaris");
  lb_Vermittler.setCaption("&Vermittlerdaten");
  lb_Angebotsdaten.setCaption("Angebots&daten");
  lb_Beenden.setCaption("&Beenden");
  sb_Vermittler.setCaption("&Vermittlerdaten");
  sb_Vermittler.setHint("Zum Vermittlerformular");
  cb_Angebotsdaten.setCaption("Angebots&daten");
  cb_Angebotsdaten.setHint("Angebotsformular");
  sb_Beenden.setCaption("&Beenden");
  sb_Beenden.setHint("Angebotsprogramm beenden");
  lbStartHelp.setCaption("<?>");
  for (Control* hidden :
       {static_cast<Control*>(&sb_Vermittler), static_cast<Control*>(&cb_Angebotsdaten),
        static_cast<Control*>(&sb_Beenden), static_cast<Control*>(&lbStartHelp)})
    hidden->setVisible(false);
  TimerWait.setInterval(1000);
  TimerWait.setEnabled(true);

  TimerWait.onTimer = on(&TfrmStartmaske::TimerWaitTimer);
  sb_Vermittler.onClick = lb_Vermittler.onClick = on(&TfrmStartmaske::sb_VermittlerClick);
  cb_Angebotsdaten.onClick = lb_Angebotsdaten.onClick = on(&TfrmStartmaske::cb_AngebotsdatenClick);
  sb_Beenden.onClick = lb_Beenden.onClick = on(&TfrmStartmaske::sb_BeendenClick);
  lbStartHelp.onClick = on(&TfrmStartmaske::lbStartHelpClick);
  lbProdukt.onClick = on(&TfrmStartmaske::lbProduktClick);
  lbProdukt1.onClick = on(&TfrmStartmaske::lbProdukt1Click);

  const std::string& directory = core::workingDirectory();
  // An unreadable file leaves every text empty and both products hidden.
  const core::ParamRecord* productData = host.productData(nullptr);

  const std::string picture = productData ? core::startPictureName(*productData) : std::string();
  if (!picture.empty()) {
    const std::string entry = findEntry(directory, picture);
    if (!entry.empty()) iLogo.setText(core::joinPath(directory, entry));
  }

  bool offered1 = productData && core::paramSwitches(*productData, 1).first;
  bool offered2 = productData && core::paramSwitches(*productData, 2).first;
  std::string name1, name2;
  if (offered1) {
    name1 = core::productTitle(*productData, 1);
    offered1 = !name1.empty();
  }
  if (offered2) {
    name2 = core::productTitle(*productData, 2);
    offered2 = !name2.empty();
  }
  if (!name1.empty() && !name2.empty())
    setCaption(name2 + " / " + name1);
  else if (!name1.empty())
    setCaption(name1);
  else
    setCaption("Fondaris");

  if (offered2)
    rbProd1.setChecked(true);
  else
    rbProd.setChecked(true);
  rbProd.setVisible(offered1);
  lbProdukt.setVisible(offered1);
  rbProd1.setVisible(offered2);
  lbProdukt1.setVisible(offered2);

  // "1.0.6.2" is shown as "Version 1.0.6".
  const std::string version = core::versionString("FileVersion").value_or("");
  if (version.size() > 2)
    lbStartVersion.setCaption("Version " + version.substr(0, version.size() - 2));
}

void TfrmStartmaske::TimerWaitTimer(Control*) {
  TimerWait.setEnabled(false);
  // A click before the first tick has left the start screen already, with its own message.
  if (!visible() || links().agentDataValid()) return;
  host().dialogs().message("Willkommen beim Angebotsprogramm zum \n" + caption() +
                               "!\nBitte die Vermittlerdaten eingeben!",
                           "Daten");
  sb_VermittlerClick(nullptr);
}

void TfrmStartmaske::sb_VermittlerClick(Control*) {
  hide();
  links().takeVariantChoice();
  links().showAgentData();
}

void TfrmStartmaske::cb_AngebotsdatenClick(Control*) {
  hide();
  links().takeVariantChoice();
  if (!links().agentDataValid()) {
    host().dialogs().message(
        "Die Vermittlerdaten fehlen bzw. sind defekt!\nDas Formular zu den Vermittlerdaten wird "
        "daher nun gestartet!",
        "Daten");
    links().showAgentData();
    return;
  }
  links().showCustomerData();
}

void TfrmStartmaske::sb_BeendenClick(Control*) {
  close();
}

void TfrmStartmaske::lbStartHelpClick(Control*) {}

void TfrmStartmaske::lbProduktClick(Control*) {
  rbProd.setChecked(true);
}

void TfrmStartmaske::lbProdukt1Click(Control*) {
  rbProd1.setChecked(true);
}

}  // namespace fondaris::forms
