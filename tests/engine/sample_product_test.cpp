// The sample product data as built, put through the batch calculation: contracts a real product
// sells must pass its rules.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/dialogs.h"
#include "core/files.h"
#include "core/ini_file.h"
#include "engine/batch_entry.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace fondaris::engine {
namespace {

namespace fs = std::filesystem;

std::string runRequest(const std::string& body) {
  const test_support::TempFolder folder("fondaris_sample");
  const fs::path dir = folder.path();
  const std::string request = (dir / "anfrage.ini").string();
  const std::string resultFile = (dir / "ergebnis.ini").string();
  EXPECT_TRUE(core::writeFileAtomically(request, body));
  ProjectionResult result{};
  test_support::ScriptedDialogs dialogs;
  EXPECT_EQ(runBatchCalculation(result, FONDARIS_BUILD_DIR, request, resultFile, dialogs), 0);
  core::IniFile ini(resultFile);
  EXPECT_TRUE(ini.load());
  EXPECT_EQ(ini.readString("Berechnung", "Ende", ""), "1");
  return ini.readString("Ergebnis", "Fehler", "(kein Fehler-Eintrag)");
}

std::string request(int type, int entryAge, int years, double contribution) {
  const std::string y = std::to_string(years);
  return "[Anfrage]\r\nBeitrag=" + std::to_string(static_cast<int>(contribution)) +
         "\r\nTyp=" + std::to_string(type) + "\r\nZW=12\r\nEAVP=" + std::to_string(entryAge) +
         "\r\nBZD=" + y + "\r\nAnlagedauer=" + y +
         "\r\nRBA=60\r\nWE1=3\r\nWE2=6\r\nWE3=9\r\nWE4=12\r\nLand=D\r\n";
}

TEST(SampleProduct, ChildContractsOfTheSmallestMonthlyContributionPass) {
  ASSERT_TRUE(core::fileExists(core::joinPath(FONDARIS_BUILD_DIR, "Param.dat")));
  for (int age = 1; age <= 6; ++age) {
    for (int years : {13, 19, 25}) {
      EXPECT_EQ(runRequest(request(1, age, years, 25)), "")
          << "type 1, age " << age << ", " << years << " years";
    }
    EXPECT_EQ(runRequest(request(2, age, 11, 25)), "") << "type 2, age " << age;
  }
}

TEST(SampleProduct, ChildLimitStillStopsLargeContributions) {
  EXPECT_NE(runRequest(request(1, 1, 25, 1000))
                .find("Bei Kindern darf die Beitragssumme bis zum "
                      "17. Lebensjahr"),
            std::string::npos);
}

}  // namespace
}  // namespace fondaris::engine
