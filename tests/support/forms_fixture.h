#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/einmalanlage/tfrm_einmalanlage.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/bank_fixture.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/process_settings.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace fondaris::forms::testing {

using program::App;
using program::Services;
using test_support::ProcessSettingsGuard;

// A working directory of its own with a copy of the sample "Param.dat", scripted dialogs, a
// recording shell and a clock standing on 5 December 2026. Strict: a dialog the test never
// looked at (through `dialogs.messages()` or `dialogs.shown()`), a question nobody answered and
// an answer nobody asked for each fail the test.
class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    guard_.emplace();
    ::setenv("USERNAME", "tester", 1);
    prepareFolder();
  }

  void TearDown() override {
    checkDialogs();
    app.reset();
    folder_.reset();
    guard_.reset();
  }

  // Table tests: checks the case before like a whole test, then gives the next case a fresh
  // folder, fresh dialogs and the clock's day again.
  void nextCase() {
    checkDialogs();
    app.reset();
    folder_.reset();
    prepareFolder();
  }

  App& createApp() {
    app = std::make_unique<App>(Services{dialogs, clock, shell});
    app->createForms();
    return *app;
  }

  std::string path(const std::string& name) const { return core::joinPath(dir, name); }

  void writeLines(const std::string& name, const std::vector<std::string>& lines) {
    ASSERT_TRUE(core::writeTextLines(path(name), lines));
  }
  std::vector<std::string> readLines(const std::string& name) {
    return core::readTextLines(path(name)).value_or(std::vector<std::string>{});
  }

  // Overwrites bytes of the copied product data.
  void patchParam(std::size_t offset, const std::string& bytes) {
    std::fstream f(path("Param.dat"), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::string dir;
  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  std::unique_ptr<App> app;

  // Every dialog looked at, every question answered, every answer used; failures otherwise.
  void checkDialogs() const {
    for (const std::string& d : dialogs.unchecked()) ADD_FAILURE() << "Dialog nicht geprüft: " << d;
    for (const std::string& d : dialogs.unexpected())
      ADD_FAILURE() << "Dialog ohne vorbereitete Antwort: " << d;
    for (const std::string& a : dialogs.unusedAnswers())
      ADD_FAILURE() << "Vorbereitete Antwort nicht gebraucht: " << a;
  }

 private:
  void prepareFolder() {
    namespace fs = std::filesystem;
    folder_.emplace("fondaris_forms");
    dir = folder_->str();
    fs::copy_file(std::string(FONDARIS_BUILD_DIR) + "/Param.dat", dir + "/Param.dat");
    core::setWorkingDirectory(dir);
    core::regionalSettingsHint() = true;
    dialogs.clear();
    shell.opened.clear();
    clock.set(test_support::FixedClock(2026, 12, 5).now());
  }

  std::optional<ProcessSettingsGuard> guard_;
  std::optional<test_support::TempFolder> folder_;
};

// A complete agent file as the program writes it; `sales` fills lines 15, 16, 21 and 22.
inline std::vector<std::string> agentFile(const std::string& firma = "Muster GmbH") {
  return {"V 1.2",    "Erika Muster", "Hauptstr. 1",
          "D-12345",  "Berlin",       "030 123",
          "030 124",  "0170 1",       "e@m.de",
          "77",       firma,          "www.m.de",
          "logo.bmp", "4711",         "",
          "",         "60001",        "60002",
          "60003",    "antrag.pdf",   "",
          "",         "OR",           "H"};
}

}  // namespace fondaris::forms::testing
