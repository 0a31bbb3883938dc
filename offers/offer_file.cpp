#include "offers/offer_file.h"

#include <cstdlib>
#include <filesystem>

#include "core/cp1252.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "offers/offer_table.h"

namespace fondaris::offers {

namespace {

constexpr const char* kFilter = "Textdateien (*.txt);;Alle Dateien (*.*)";
constexpr const char* kFolderKey = "AZS4U";

std::string folderSection() {
  return "Ablage-" + core::userName();
}

core::IniFile settingsFile() {
  core::IniFile ini(core::joinPath(core::workingDirectory(), core::kWindowSettingsFile));
  core::ignoreFailure(ini.load());
  return ini;
}

std::string userProfile() {
  for (const char* name : {"USERPROFILE", "HOME"})
    if (const char* v = std::getenv(name); v && *v) return v;
  return core::workingDirectory();
}

// Reset before the values come, so that choices the file leaves open are not carried over.
void resetChoices(OfferForms& f) {
  f.contract.cb_Vorgabe.setItemIndex(0);
  if (f.customer.rbProd.visible())
    f.customer.rbProd.setChecked(true);
  else
    f.customer.rbProd1.setChecked(true);
  forms::TfrmAngebotsdialog& a = f.application;
  a.rbNeinPost.setChecked(true);
  for (forms::Control* c : a.controls()) {
    const std::string& n = c->name();
    const bool group = n.rfind("rbFGI", 0) == 0 || n.rfind("rbRR", 0) == 0 ||
                       n.rfind("rbGF", 0) == 0 || n.rfind("rbAA", 0) == 0 || n == "rb25" ||
                       n == "rb50" || n == "rbM50";
    if (group) c->setChecked(false);
  }
  if (a.cbRefKonto.itemCount() > 0) a.cbRefKonto.setItemIndex(0);
  for (int n = 1; n <= 11; ++n) f.contract.find("rb_Fonds" + std::to_string(n))->setChecked(false);
  // Annual top-ups the file does not hold are none.
  f.contract.topUps.fill(0);
  f.contract.topUpCount = 0;
}

// After the lines: the contract form laid out for the loaded variant with its lists filled for
// the loaded periods, the mode's layout, then the contract values put back over what that layout
// reset, so positions beyond the lists of the periods before fit now.
void settle(OfferForms& f) {
  forms::TfrmVertagsdaten& c = f.contract;
  c.adoptLoadedValues();
  // A contribution of 0 would make the layout ask whether to switch the mode; loading asks
  // nothing, and the loaded text comes back below.
  const std::string contribution = c.cb_Beitrag_2.text();
  if (core::parseAmount(contribution) == 0) c.cb_Beitrag_2.setText("100,00");
  c.cb_VorgabeChange(&c.cb_Vorgabe);
  c.cb_Beitrag_2.setText(contribution);
  const auto& table = offerTable();
  for (std::size_t i = 1; i < f.loaded.size() && i < table.size(); ++i)
    if (table[i].where == Where::Contract) readLine(f, table[i], f.loaded[i]);
  c.fitDayList();
  c.illustrate();
}

// Saved choices that did not come back (a position the list lacks, or no number at all), as
// "Zeile n ('text')". Lists the loaded offer hides count for nothing and are not named: older
// files hold leftovers there.
std::string choicesNotTaken(OfferForms& f) {
  std::string lines;
  const auto& table = offerTable();
  for (std::size_t i = 1; i < f.loaded.size() && i < table.size(); ++i) {
    const OfferLine& line = table[i];
    const std::string& text = f.loaded[i];
    if (line.codec != Codec::Position || (text.empty() && line.value == "optional")) continue;
    const forms::Control* c = lineControl(f, line);
    if (!c || !c->showing() || std::to_string(c->itemIndex()) == text) continue;
    lines += (lines.empty() ? "" : ", ") + std::string("Zeile ") + std::to_string(line.number) +
             " ('" + text + "')";
  }
  return lines;
}

}  // namespace

std::string offerBytes(OfferSession session) {
  OfferForms f(session);
  std::string out;
  for (const OfferLine& line : offerTable()) {
    out += core::utf8ToCp1252(writeLine(f, line));
    out += "\r\n";
  }
  return out;
}

bool saveOfferFile(OfferSession session, const std::string& path) {
  const std::string bytes = offerBytes(session);
  if (!core::writeFileAtomically(path, bytes)) {
    session.host.dialogs().message("Die Datei '" + path + "' konnte nicht erzeugt werden!",
                                   "Fehler");
    return false;
  }
  session.lastFile = path;
  // Letters Windows-1252 lacks (Polish ones, say) are stored as '?': the agent must know.
  std::string changed;
  OfferForms f(session);
  for (const OfferLine& line : offerTable()) {
    const std::string text = writeLine(f, line);
    if (core::cp1252ToUtf8(core::utf8ToCp1252(text)) != text)
      changed += (changed.empty() ? "" : ", ") + text;
  }
  if (!changed.empty())
    session.host.dialogs().message(
        "Die Datei '" + path +
            "' wurde gespeichert, aber nicht jedes Zeichen lässt sich darin "
            "ablegen; dort steht stattdessen '?': " +
            changed,
        "Hinweis");
  return true;
}

LoadResult loadOfferBytes(OfferSession session, std::string_view bytes, const std::string& name) {
  const std::vector<std::string> lines = core::textLines(bytes);
  // Checked before anything changes: a refused file leaves the open offer as it is.
  if (lines.empty() || lines[0].empty() || lines[0][0] != 'Z') {
    session.host.dialogs().message(
        "Die Datei '" + name + "' konnte nicht gelesen werden! Unbekanntes Format!", "Fehler");
    return LoadResult::UnknownFormat;
  }
  OfferForms f(session);
  // The time lists must hold entries before positions are put in.
  f.contract.fillSinglePaymentLists(true);
  f.contract.fillWithdrawalLists();
  resetChoices(f);

  const auto& table = offerTable();
  const std::size_t count = std::min(lines.size(), table.size());
  f.loaded.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
  for (std::size_t i = 1; i < count; ++i) {
    readLine(f, table[i], lines[i]);
    if (table[i].after) table[i].after(f, lines[i]);
  }
  settle(f);
  // "An&trag" lays the application form out afresh; the loaded goals survive it.
  const std::vector<std::string> loaded = f.loaded;
  f.contract.afterApplicationPrepared = [session, loaded] {
    OfferForms g(session);
    const auto& offerLines = offerTable();
    for (std::size_t i = 1; i < loaded.size(); ++i)
      if (!offerLines[i].controls.empty() && offerLines[i].controls[0].rfind("cbZiel", 0) == 0) {
        readLine(g, offerLines[i], loaded[i]);
        // A goal above what the period allows is held to it, as a typed one is.
        if (forms::Control* goal = lineControl(g, offerLines[i])) g.application.cbZielChange(goal);
      }
  };
  session.lastFile = name;
  if (count < table.size()) {
    session.host.dialogs().message(
        "Die Datei '" + name + "' endet nach Zeile " + std::to_string(count) +
            ". Alle weiteren Angaben stammen noch aus dem vorigen Angebot.",
        "Hinweis");
    return LoadResult::Short;
  }
  if (const std::string damaged = choicesNotTaken(f); !damaged.empty()) {
    session.host.dialogs().message("Die Datei '" + name +
                                       "' enthält eine Auswahl, die es nicht gibt; sie wurde nicht "
                                       "übernommen: " +
                                       damaged + ".",
                                   "Hinweis");
    return LoadResult::Damaged;
  }
  return LoadResult::Loaded;
}

LoadResult loadOfferFile(OfferSession session, const std::string& path) {
  const auto bytes = core::readFileBytes(path);
  if (!bytes) {
    session.host.dialogs().message("Die Datei '" + path + "' konnte nicht gelesen werden!",
                                   "Fehler");
    return LoadResult::Unreadable;
  }
  return loadOfferBytes(session, *bytes, path);
}

std::string offerFolder() {
  return settingsFile().readString(folderSection(), kFolderKey, userProfile());
}

void rememberOfferFolder(const std::string& chosenFile) {
  core::IniFile ini = settingsFile();
  ini.writeString(folderSection(), kFolderKey,
                  std::filesystem::path(chosenFile).parent_path().string());
  // A folder that cannot be remembered costs only the next dialog's start folder.
  core::ignoreFailure(ini.save());
}

bool saveOfferWithDialog(OfferSession session) {
  auto name =
      session.host.dialogs().saveFileName("Daten speichern unter ....", offerFolder(), kFilter, "");
  if (!name || name->empty()) return false;
  std::string path = *name;
  // The dialog asked about the name as typed; a name completed here is asked about once more.
  if (!std::filesystem::path(path).has_extension()) {
    path += ".txt";
    if (core::fileExists(path) && !session.host.dialogs().askYesNo(
                                      "Die Datei '" + path + "' ist bereits vorhanden. Ersetzen?",
                                      "Daten speichern unter ...."))
      return false;
  }
  rememberOfferFolder(path);
  return saveOfferFile(session, path);
}

bool saveOfferToItsFile(OfferSession session) {
  if (session.lastFile.empty()) return saveOfferWithDialog(session);
  return saveOfferFile(session, session.lastFile);
}

void loadOfferWithDialog(OfferSession session) {
  auto name =
      session.host.dialogs().openFileName("Gespeichertes Angebot öffnen", offerFolder(), kFilter);
  if (!name || name->empty()) return;
  rememberOfferFolder(*name);
  // Every outcome has been shown to the agent already.
  core::ignoreFailure(loadOfferFile(session, *name));
}

}  // namespace fondaris::offers
