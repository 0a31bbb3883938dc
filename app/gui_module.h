#pragma once

namespace fondaris::app {

// File name of the interactive program's module beside the executable.
inline constexpr const char* kGuiModuleName = "libfondaris-gui.so";

// Loads the module and runs the interactive program; a module that cannot be loaded is
// reported in one German line on standard error and gives exit code 1.
int runInteractiveModule(int argc, char** argv);

}  // namespace fondaris::app
