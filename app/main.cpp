#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_module.h"
#include "app/option_map.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/notation.h"
#include "core/platform/platform.h"
#include "core/settings.h"
#include "engine/batch_entry.h"

using namespace fondaris;

int main(int argc, char** argv) {
  // The protocol file belongs to one run; an installed program folder the user may not write
  // keeps the user's files in his data folder.
  core::ignoreFailure(core::removeFile(core::joinPath(core::programDirectory(), "Prot.txt")));
  const std::string userData = core::userDataFolder();
  if (!userData.empty() && !core::platform::mayWriteFolder(core::programDirectory()))
    core::ignoreFailure(core::removeFile(core::joinPath(userData, "Prot.txt")));

  app::PARAMAP options;
  const std::vector<std::string> arguments = core::platform::commandArguments(argc, argv);
  std::vector<const char*> words;
  for (const std::string& argument : arguments) words.push_back(argument.c_str());
  // A parse error keeps what was read.
  options.parse(app::commandWords(static_cast<int>(words.size()), words.data()));
  const std::string requestName = options.lookup("i");
  const std::string resultName = options.lookup("o");
  options.lookup("s");  // accepted, no effect

  if (!requestName.empty() && !resultName.empty()) {
    // Batch mode keeps the system's notation, taken from the environment.
    core::StderrDialogs dialogs;
    if (const auto missing = core::useEnvironmentLocale())
      dialogs.message(
          "Das Gebietsschema '" + *missing + "' ist nicht installiert; es gilt die Notation 'C'.",
          "Angebotsprogramm");
    core::notation() = core::Notation::fromCurrentLocale();
    auto result = std::make_unique<engine::ProjectionResult>();
    const std::vector<std::string> programFiles = {
        core::platform::executablePath(),
        core::joinPath(core::programDirectory(), app::kGuiModuleName)};
    return engine::runBatchCalculation(*result, core::programDirectory(), requestName, resultName,
                                       dialogs, programFiles);
  }

  return app::runInteractiveModule(argc, argv);
}
