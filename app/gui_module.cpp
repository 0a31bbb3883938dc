#include "app/gui_module.h"

#include <cstdio>
#include <string>

#include <dlfcn.h>

#include "core/files.h"

namespace fondaris::app {

int runInteractiveModule(int argc, char** argv) {
  const std::string path = core::joinPath(core::programDirectory(), kGuiModuleName);
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  using Entry = int (*)(int, char**);
  Entry entry =
      module ? reinterpret_cast<Entry>(::dlsym(module, "fondarisRunInteractive")) : nullptr;
  if (!entry) {
    const char* why = ::dlerror();
    std::fprintf(stderr,
                 "Fondaris: Die Programmoberfläche '%s' konnte nicht geladen werden (%s).\n",
                 path.c_str(), why ? why : "unbekannter Fehler");
    return 1;
  }
  return entry(argc, argv);
}

}  // namespace fondaris::app
