#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "program/app.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::fuzz {

// One program session for all runs of a target, as a user works one file after another in the
// same forms; creating the forms reads the product (and bank) data, which took most of each run.
struct FormSession {
  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  program::App app{program::Services{dialogs, clock, shell}};
};

// The session, created on the first call with the given files of the built sample data copied
// into the scratch folder, which becomes the working folder. Each run starts with no dialogs.
inline FormSession& formSession(std::initializer_list<const char*> productFiles) {
  static FormSession* const open = [&] {
    for (const char* file : productFiles)
      std::filesystem::copy_file(std::string(FONDARIS_PRODUCT_DIR) + "/" + file,
                                 core::joinPath(scratchFolder(), file),
                                 std::filesystem::copy_options::overwrite_existing);
    core::setWorkingDirectory(scratchFolder());
    auto* created = new FormSession;
    created->app.createForms();
    return created;
  }();
  open->dialogs.clear();
  open->shell.opened.clear();
  return *open;
}

}  // namespace fondaris::fuzz
