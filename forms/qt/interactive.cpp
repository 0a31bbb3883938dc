#include "forms/qt/interactive.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "core/clock.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/app.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/qt/qt_dialogs.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::qt {

std::string notationWarning(const core::Notation& system) {
  std::string warning;
  if (system.decimalSeparator != ",")
    warning =
        "In ihrem System ist die Darstellung der Zahlen nicht korrekt auf deutsche Notation "
        "eingestellt.";
  if (system.dateSeparator != '.') {
    if (!warning.empty()) warning += "\n";
    warning +=
        "In ihrem System ist die Darstellung des Datums nicht korrekt auf deutsche Notation "
        "eingestellt.";
  }
  return warning;
}

bool windowSystemAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int runInteractive(int argc, char** argv) {
  if (!windowSystemAvailable()) {
    std::fputs(
        "Fondaris: Das Programm benötigt eine grafische Oberfläche (X11 oder Wayland), es wurde "
        "keine gefunden; Berechnungen ohne Fenster: fondaris -i:ANFRAGE.ini -o:ERGEBNIS.ini\n",
        stderr);
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Fondaris");
  installGermanTranslations();

  // The system's own notation decides the warning; the program then works in German notation.
  std::setlocale(LC_ALL, "");
  const std::string warning = notationWarning(core::Notation::fromCurrentLocale());
  core::notation() = core::Notation::german();

  QtDialogs dialogs;
  core::SystemClock clock;
  core::XdgShell shell;
  QtPresenter presenter;
  forms::App app(forms::Services{dialogs, clock, shell}, &presenter);
  app.title = "Fondaris";
  app.createForms();
  presenter.add(*app.frmStartmaske, makeStartmaskeView());
  presenter.add(*app.frmVermittler, makeVermittlerView());
  presenter.add(*app.frmAngebotsdaten, makeAngebotsdatenView());
  presenter.add(*app.frmVertagsdaten, makeVertragsdatenView(*app.frmVertagsdaten));
  presenter.add(*app.frmAngebotsdialog, makeAngebotsdialogView());
  presenter.add(*app.frmPruefung, makePruefungView());

  if (!warning.empty() && core::regionalSettingsHint())
    dialogs.message(warning +
                        "\nBitte Prüfen!\nDieser Hinweis kann im Bereich der Vermittlerdaten "
                        "deaktiviert werden.",
                    "Hinweis");
  if (app.quitRequested()) return 0;
  app.mainForm().show();
  return QApplication::exec();
}

}  // namespace fondaris::qt
