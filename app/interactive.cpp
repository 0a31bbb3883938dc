#include "app/interactive.h"

#include <QApplication>
#include <QByteArray>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "core/clock.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/qt/qt_dialogs.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "program/app.h"

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

namespace {

constexpr const char* kNoWindowSystem =
    "Fondaris: Das Programm benötigt eine grafische Oberfläche (X11 oder Wayland), es wurde "
    "keine gefunden; Berechnungen ohne Fenster: fondaris -i:ANFRAGE.ini -o:ERGEBNIS.ini\n";

// While the window system is being connected: a display that is set but cannot be reached
// ends the program with the same line as no display at all, not with the toolkit's own
// English messages and abort.
void connectingMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs(kNoWindowSystem, stderr);
    std::_Exit(1);
  }
  if (context.category && QByteArray(context.category).startsWith("qt.qpa")) return;
  std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

bool windowSystemAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int runInteractive(int argc, char** argv) {
  if (!windowSystemAvailable()) {
    std::fputs(kNoWindowSystem, stderr);
    return 1;
  }
  const QtMessageHandler previous = qInstallMessageHandler(connectingMessages);
  QApplication application(argc, argv);
  qInstallMessageHandler(previous);
  QApplication::setApplicationName("Fondaris");
  installGermanTranslations();

  // The system's own notation decides the warning; the program then works in German notation.
  std::setlocale(LC_ALL, "");
  const std::string warning = notationWarning(core::Notation::fromCurrentLocale());
  core::notation() = core::Notation::german();

  QtPresenter presenter;
  QtDialogs dialogs([&presenter] { presenter.refreshAll(); });
  core::SystemClock clock;
  core::SystemShell shell;
  program::App app(program::Services{dialogs, clock, shell}, &presenter);
  app.title = "Fondaris";
  app.createForms();
  addViewsOnDemand(app, presenter);
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
