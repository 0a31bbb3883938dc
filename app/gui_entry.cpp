// The interactive program as a module of its own: batch runs, which a portal may start thousands
// of times, then never load the window system's libraries.
#include "app/interactive.h"

extern "C" int fondarisRunInteractive(int argc, char** argv) {
  return fondaris::qt::runInteractive(argc, argv);
}
