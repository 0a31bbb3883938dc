// Starts the real executable without any request files, as a user would, where no window can
// be opened.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "core/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(InteractiveStart, UnreachableOrMissingDisplayGivesOneGermanLine) {
  const fondaris::test_support::TempFolder folder("fondaris_display");
  const fs::path errFile = folder.path() / "stderr.txt";
  const std::string program = (fs::path(FONDARIS_BUILD_DIR) / "fondaris").string();
  const std::string expected =
      "Fondaris: Das Programm benötigt eine grafische Oberfläche (X11 oder Wayland), es wurde "
      "keine gefunden; Berechnungen ohne Fenster: fondaris -i:ANFRAGE.ini -o:ERGEBNIS.ini\n";
  for (const std::string display : {"", "DISPLAY=:97 ", "DISPLAY=nirgendwo:3 "}) {
    SCOPED_TRACE(display);
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + display +
                            "'" + program + "' 2>'" + errFile.string() + "' </dev/null";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(fondaris::core::readFileBytes(errFile.string()).value_or(""), expected);
  }
}

}  // namespace
