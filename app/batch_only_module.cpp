#include "app/gui_module.h"
#include "core/dialogs.h"

namespace fondaris::app {

// A build of the batch calculation alone (the Windows build) has no interactive program.
int runInteractiveModule(int, char**) {
  core::StderrDialogs dialogs;
  dialogs.message("Diese Ausgabe enthält nur die Stapelberechnung: fondaris -i:Anfrage -o:Ergebnis",
                  "Angebotsprogramm");
  return 1;
}

}  // namespace fondaris::app
