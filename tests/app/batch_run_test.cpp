// Drives the real executable in batch mode, from a folder of its own with the sample product
// data, as a portal or script would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/files.h"
#include "core/ini_file.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = folder_.path();
    prog_ = root_ / "prog";
    work_ = root_ / "work";
    fs::create_directories(prog_);
    fs::create_directories(work_);
    fs::copy_file(fs::path(FONDARIS_BUILD_DIR) / "fondaris", prog_ / "fondaris");
    fs::copy_file(fs::path(FONDARIS_BUILD_DIR) / "Param.dat", prog_ / "Param.dat");
    fs::copy_file(fs::path(FONDARIS_BUILD_DIR) / "libfondaris-gui.so",
                  prog_ / "libfondaris-gui.so");
  }

  void writeRequest(const fs::path& p, const std::string& body) {
    std::ofstream(p, std::ios::binary) << body;
  }

  // Runs the program in the work folder; returns the exit code, fills err_ with stderr.
  // `locale` is LC_ALL's value, or further environment settings after it.
  int run(const std::string& args, const std::string& locale = "C") {
    const fs::path errFile = root_ / "stderr.txt";
    // Without a display an interactive start ends at once instead of opening a window.
    const std::string cmd =
        "cd '" + work_.string() +
        "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANG -u LC_NUMERIC "
        "-u LC_MONETARY LC_ALL=" +
        locale + " '" + (prog_ / "fondaris").string() + "' " + args + " 2>'" + errFile.string() +
        "' </dev/null";
    const int status = std::system(cmd.c_str());
    err_ = fondaris::core::readFileBytes(errFile.string()).value_or("");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fondaris::core::IniFile result(const fs::path& p) {
    fondaris::core::IniFile ini(p.string());
    EXPECT_TRUE(ini.load()) << p;
    return ini;
  }

  fondaris::test_support::TempFolder folder_{"fondaris_batch"};
  fs::path root_, prog_, work_;
  std::string err_;
};

const char* kTypeOne =
    "[Anfrage]\r\nBeitrag=100\r\nZW=12\r\nEAVP=35\r\nBZD=25\r\nAnlagedauer=25\r\nRBA=60\r\n"
    "WE1=3\r\nWE2=6\r\nWE3=9\r\nWE4=12\r\nWE5=15\r\n";

TEST_F(BatchRun, CompletesATypeOneRequestInTheCLocale) {
  writeRequest(work_ / "req.ini", kTypeOne);
  ASSERT_EQ(run("-i:req.ini -o:res.ini -x:1"), 0) << err_;
  EXPECT_EQ(err_, "");
  auto r = result(prog_ / "res.ini");
  EXPECT_EQ(r.readString("Berechnung", "Ende", ""), "1");
  EXPECT_TRUE(r.hasKey("Ergebnis", "Fehler"));
  EXPECT_EQ(r.readString("Ergebnis", "Fehler", "x"), "");
  EXPECT_EQ(r.readString("Anfrage", "Beitrag", ""), "100");
  EXPECT_EQ(r.readString("Anfrage", "EAVN", ""), "35");  // taken over from EAVP
  EXPECT_EQ(r.readString("Anfrage", "WE5", ""), "15");
  EXPECT_FALSE(r.hasKey("Anfrage", "Todesfall"));
  EXPECT_FALSE(r.hasKey("Anfrage", "Anlagedauer"));
  // 76 - 35 = 41 yearly values per section, the last of them index 40.
  EXPECT_TRUE(r.hasKey("WE1", "Gut40"));
  EXPECT_FALSE(r.hasKey("WE1", "Gut41"));
  const std::string gut = r.readString("WE2", "Gut24", "");
  EXPECT_NE(gut.find('.'), std::string::npos);
  EXPECT_EQ(gut.find(','), std::string::npos);
  EXPECT_GT(std::stod(gut), 25 * 1200.0);
  EXPECT_EQ(r.readString("WE2", "Gut25", ""), "0.00");  // past the investment period
  EXPECT_EQ(r.readString("WE5", "Gut3", ""), "0.00");   // the fifth rate is not projected
  EXPECT_EQ(r.readString("WE1", "Rente0", ""), "0.00");
  EXPECT_EQ(r.readString("WE4", "Rueck40", ""), "0.00");
}

TEST_F(BatchRun, WritesGermanNotationUnderAGermanLocale) {
  writeRequest(work_ / "req.ini",
               "[Anfrage]\r\nBeitrag=33,33\r\nTyp=2\r\nEAVP=30\r\nBZD=20\r\nAnlagedauer=20\r\n"
               "WE1=6,5\r\nLand=A\r\n");
  ASSERT_EQ(run("-i:req.ini -o:res.ini", "de_DE.UTF-8"), 0) << err_;
  auto r = result(prog_ / "res.ini");
  EXPECT_EQ(r.readString("Ergebnis", "Fehler", "x"), "");
  EXPECT_EQ(r.readString("Anfrage", "Beitrag", ""), "33,3300018310547");
  EXPECT_EQ(r.readString("Anfrage", "WE1", ""), "6,5");
  EXPECT_TRUE(r.hasKey("WE1", "Gut109"));
  EXPECT_FALSE(r.hasKey("WE1", "Gut110"));
  // Currency texts: grouping point, decimal comma, one trailing blank.
  const auto bytes = fondaris::core::readFileBytes((prog_ / "res.ini").string()).value();
  EXPECT_NE(bytes.find("\r\nGut19=14.293,21 \r\nGut20=0,00 \r\n"), std::string::npos);
  EXPECT_NE(bytes.find("Rente0=0,00 \r\n"), std::string::npos);
}

TEST_F(BatchRun, RejectedRequestStillCompletesTheResult) {
  writeRequest(work_ / "req.ini", "[Anfrage]\r\nBeitrag=50\r\nTyp=3\r\nZW=5\r\n");
  ASSERT_EQ(run("-i:req.ini -o:res.ini"), 0);
  auto r = result(prog_ / "res.ini");
  EXPECT_EQ(r.readString("Ergebnis", "Fehler", ""), "Unbekannten Berechnungstyp angefordert!");
  EXPECT_EQ(r.readString("Berechnung", "Ende", ""), "1");
  EXPECT_FALSE(r.hasKey("Anfrage", "Beitrag"));
  EXPECT_FALSE(r.hasKey("WE1", "Gut0"));
}

TEST_F(BatchRun, FilesThatCannotBeOpenedGiveStatusOne) {
  writeRequest(work_ / "req.ini", kTypeOne);
  EXPECT_EQ(run("-i:fehlt.ini -o:res.ini"), 1);
  EXPECT_EQ(err_, "Angebotsprogramm: Die Datei 'fehlt.ini' konnte nicht gelesen werden!\n");
  EXPECT_FALSE(fs::exists(prog_ / "res.ini"));

  EXPECT_EQ(run("-i:req.ini -o:kein/ordner/res.ini"), 1);
  EXPECT_EQ(err_,
            "Angebotsprogramm: Die Datei 'kein/ordner/res.ini' konnte nicht erzeugt werden!\n");

  writeRequest(prog_ / "ro.ini", "[Alt]\r\nx=1\r\n");
  fs::permissions(prog_ / "ro.ini", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(run("-i:req.ini -o:" + (prog_ / "ro.ini").string()), 1);
  EXPECT_EQ(fondaris::core::readFileBytes((prog_ / "ro.ini").string()).value(), "[Alt]\r\nx=1\r\n");
}

TEST_F(BatchRun, ParameterFileProblemsGiveTwoMessagesAndStatusOne) {
  writeRequest(work_ / "req.ini", kTypeOne);
  const std::string both =
      "Fehler: Die Datei '\\Param.dat' konnte nicht gelesen werden!\n"
      "Angebotsprogramm: Die Datei 'param.dat' konnte nicht gelesen werden!\n";
  const std::string shortRead =
      "Fehler: Fehler beim Lesen der Daten von '\\Param.dat'!\n"
      "Angebotsprogramm: Die Datei 'param.dat' konnte nicht gelesen werden!\n";
  fs::remove(prog_ / "Param.dat");
  EXPECT_EQ(run("-i:req.ini -o:res.ini"), 1);
  EXPECT_EQ(err_, both);
  EXPECT_FALSE(fs::exists(prog_ / "res.ini"));

  for (std::size_t size : {std::size_t{0}, std::size_t{466087}}) {
    std::ofstream(prog_ / "Param.dat", std::ios::binary) << std::string(size, '\1');
    EXPECT_EQ(run("-i:req.ini -o:res.ini"), 1) << size;
    EXPECT_EQ(err_, shortRead) << size;
  }
}

TEST_F(BatchRun, GarbageProductDataNeverCrashes) {
  std::mt19937 rng(7);
  std::string bytes(466088, '\0');
  for (auto& b : bytes) b = static_cast<char>(rng());
  std::ofstream(prog_ / "Param.dat", std::ios::binary) << bytes;
  writeRequest(work_ / "req.ini",
               "[Anfrage]\r\nBeitrag=100\r\nTyp=2\r\nBZD=20\r\nEAVP=5\r\nEinmalzahlung=5000\r\n");
  EXPECT_EQ(run("-i:req.ini -o:res.ini"), 0) << err_;
  EXPECT_EQ(result(prog_ / "res.ini").readString("Berechnung", "Ende", ""), "1");
}

TEST_F(BatchRun, HostileRequestsGiveACompleteResult) {
  std::mt19937 rng(11);
  std::string garbage(20000, '\0');
  for (auto& b : garbage) b = static_cast<char>(rng());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {garbage, "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 25 Euro!"},
      // A number beyond double range reads as the default 0, which cannot be projected.
      {"[Anfrage]\r\nBeitrag=" + std::string(5000, '9') +
           "\r\nZW=1\r\nTyp=2\r\nBZD=2\r\n"
           "Land=A\r\n",
       "Der Beitrag muss größer als 0 Euro sein!"},
      {"[Anfrage]\r\nBeitrag=" + std::string(30, '9') +
           "\r\nZW=1\r\nTyp=2\r\nBZD=2\r\n"
           "Land=A\r\n",
       "Die Beitragssumme ist zu hoch!"},
      // Absurd periods are projected up to the 110 years the result holds.
      {"[Anfrage]\r\nBeitrag=0.0001\r\nZW=1\r\nTyp=2\r\nEAVP=30\r\nBZD=2000000000\r\n"
       "Anlagedauer=2000000000\r\nLand=A\r\n",
       ""},
      {"[Anfrage]\r\nBeitrag=50\r\nBeitrag=10\r\nTyp=2\r\nBZD=10\r\nLand=A\r\n", ""},
      {"[Anfrage]\r\nBeitrag=50,5\r\nTyp=2\r\nBZD=10\r\nLand=A\r\n",
       "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 25 Euro!"},
      {"[Sonstiges]\r\nx=1\r\n", "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 25 Euro!"},
      {"[Anfrage]\r\nBeitrag=100\r\nTyp=2\r\nEAVP=-5\r\nBZD=1000\r\nLand=A\r\n",
       "Die Beitragssumme ist zu hoch!"},
      {"[Anfrage]\r\nBeitrag=100\r\nTyp=2\r\nEAVP=500\r\nBZD=5\r\nAnlagedauer=2000000000\r\n", ""},
      {"[Anfrage]\r\nBeitrag=100\r\nTyp=2\r\nBZD=2000000000\r\nAnlagedauer=2000000000\r\n"
       "Land=A\r\n",
       "Die Beitragssumme ist zu hoch!"},
      {"[Anfrage]\r\nBeitrag=100\r\nZW=0\r\n", "Unbekannte Zahlungsweise!"},
      {"[Anfrage]\r\nAblauf=100000\r\nTyp=2\r\nBZD=20\r\nEAVP=30\r\nRBA=500\r\n",
       "Das gewünschte Alter ist zu hoch!"},
      {"[Anfrage]\r\nAblauf=100000\r\nTyp=2\r\nBZD=20\r\nEAVP=30\r\nRBA=20\r\n",
       "Zum gewünschten Alter kann keine Ablaufleistung berechnet werden!"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    writeRequest(work_ / "req.ini", cases[i].first);
    ASSERT_EQ(run("-i:req.ini -o:res.ini"), 0) << "case " << i << ": " << err_;
    auto r = result(prog_ / "res.ini");
    EXPECT_EQ(r.readString("Berechnung", "Ende", ""), "1") << "case " << i;
    EXPECT_EQ(r.readString("Ergebnis", "Fehler", "?"), cases[i].second) << "case " << i;
  }
}

TEST_F(BatchRun, NeverWritesOverProductDataOrTheProgram) {
  writeRequest(work_ / "req.ini", kTypeOne);
  writeRequest(prog_ / "Angebot_VL_1.pdf", "%PDF-Vorlage");  // named by the product data
  writeRequest(prog_ / "BLZ.DAT", "Bankdaten");
  fs::create_hard_link(prog_ / "Param.dat", work_ / "kopie.dat");
  fs::create_symlink(prog_ / "fondaris", work_ / "programm");
  const auto paramBefore = fondaris::core::readFileBytes((prog_ / "Param.dat").string());
  const auto moduleBefore = fs::file_size(prog_ / "libfondaris-gui.so");
  for (const std::string& name : std::vector<std::string>{
           "Param.dat", "../prog/Param.dat", "Angebot_VL_1.pdf", "BLZ.DAT", "fondaris",
           "libfondaris-gui.so", (work_ / "kopie.dat").string(), (work_ / "programm").string()}) {
    EXPECT_EQ(run("-i:req.ini -o:" + name), 1) << name;
    EXPECT_EQ(err_, "Angebotsprogramm: Die Datei '" + name + "' konnte nicht erzeugt werden!\n");
  }
  EXPECT_EQ(fondaris::core::readFileBytes((prog_ / "Param.dat").string()), paramBefore);
  EXPECT_EQ(fondaris::core::readFileBytes((prog_ / "Angebot_VL_1.pdf").string()), "%PDF-Vorlage");
  EXPECT_EQ(fondaris::core::readFileBytes((prog_ / "BLZ.DAT").string()), "Bankdaten");
  EXPECT_EQ(fs::file_size(prog_ / "libfondaris-gui.so"), moduleBefore);
  EXPECT_TRUE(fs::is_symlink(work_ / "programm"));
  // Still whole: the next run works.
  EXPECT_EQ(run("-i:req.ini -o:res.ini"), 0) << err_;
}

TEST_F(BatchRun, RequestsWithAByteOrderMarkOrOldLineEndsAreRead) {
  const std::string crOnly =
      "[Anfrage]\rBeitrag=100\rZW=12\rEAVP=35\rBZD=25\rAnlagedauer=25\rRBA=60\rWE4=12\r";
  const std::string mixed =
      "[Anfrage]\rBeitrag=100\nZW=12\r\nEAVP=35\rBZD=25\nAnlagedauer=25\r\nRBA=60\rWE4=12";
  for (const std::string& request :
       {"\xEF\xBB\xBF" + std::string(kTypeOne), crOnly, mixed, "\xEF\xBB\xBF" + crOnly,
        // Saved twice by an editor that adds a mark each time.
        "\xEF\xBB\xBF\xEF\xBB\xBF" + std::string(kTypeOne)}) {
    writeRequest(work_ / "req.ini", request);
    ASSERT_EQ(run("-i:req.ini -o:res.ini"), 0) << err_;
    auto r = result(prog_ / "res.ini");
    EXPECT_EQ(r.readString("Ergebnis", "Fehler", "?"), "") << request;
    EXPECT_EQ(r.readString("Anfrage", "Beitrag", ""), "100") << request;
    EXPECT_EQ(r.readString("Anfrage", "WE4", ""), "12") << request;
  }
}

TEST_F(BatchRun, AMissingLocaleIsNamedAndTheCNotationUsed) {
  writeRequest(work_ / "req.ini", kTypeOne);
  // Named by LC_ALL, or by LANG under an empty LC_ALL.
  for (const char* env : {"xx_YY.UTF-8", "'' LANG=xx_YY.UTF-8"}) {
    ASSERT_EQ(run("-i:req.ini -o:res.ini", env), 0) << err_;
    EXPECT_EQ(err_,
              "Angebotsprogramm: Das Gebietsschema 'xx_YY.UTF-8' ist nicht installiert; es gilt "
              "die Notation 'C'.\n")
        << env;
    auto r = result(prog_ / "res.ini");
    EXPECT_EQ(r.readString("Ergebnis", "Fehler", "?"), "");
    EXPECT_EQ(r.readString("WE2", "Gut24", "").find(','), std::string::npos);
  }
}

TEST_F(BatchRun, OverflowingFiguresFailTheRequest) {
  for (const char* typeAndPeriod : {"Typ=2\r\nBZD=20\r\n", "Typ=1\r\nBZD=25\r\n"}) {
    writeRequest(work_ / "req.ini", std::string("[Anfrage]\r\nBeitrag=100\r\n") + typeAndPeriod +
                                        "EAVP=30\r\nAnlagedauer=25\r\nWE1=6\r\n"
                                        "WE3=100000\r\nLand=A\r\n");
    ASSERT_EQ(run("-i:req.ini -o:res.ini"), 0) << err_;
    auto r = result(prog_ / "res.ini");
    EXPECT_EQ(r.readString("Ergebnis", "Fehler", ""), "Die Berechnung ergibt zu große Werte!")
        << typeAndPeriod;
    EXPECT_EQ(r.readString("Berechnung", "Ende", ""), "1");
    EXPECT_FALSE(r.hasKey("WE3", "Gut0"));
  }
}

TEST_F(BatchRun, RelativeNamesArePreferredBesideTheProgram) {
  writeRequest(prog_ / "req.ini", "[Anfrage]\r\nTyp=3\r\n");
  writeRequest(work_ / "req.ini", kTypeOne);
  ASSERT_EQ(run("-i:req.ini -o:res.ini"), 0);
  EXPECT_TRUE(fs::exists(prog_ / "res.ini"));
  EXPECT_FALSE(fs::exists(work_ / "res.ini"));
  EXPECT_EQ(result(prog_ / "res.ini").readString("Ergebnis", "Fehler", ""),
            "Unbekannten Berechnungstyp angefordert!");

  // Absolute names work from anywhere.
  ASSERT_EQ(run("-i:" + (work_ / "req.ini").string() + " -o:" + (work_ / "abs.ini").string()), 0);
  EXPECT_EQ(result(work_ / "abs.ini").readString("Ergebnis", "Fehler", "?"), "");
}

TEST_F(BatchRun, WithoutBothFilesTheBatchModeDoesNotRun) {
  writeRequest(work_ / "req.ini", kTypeOne);
  for (const char* args : {"-i:req.ini", "-i:req.ini -o:", "xy -i:req.ini -o:res.ini"}) {
    EXPECT_EQ(run(args), 1) << args;
    EXPECT_NE(err_.find("benötigt eine grafische Oberfläche"), std::string::npos) << args;
  }
  EXPECT_FALSE(fs::exists(prog_ / "res.ini"));
}

TEST_F(BatchRun, DeletesTheProtocolFileAtStart) {
  writeRequest(prog_ / "Prot.txt", "alt");
  run("");
  EXPECT_FALSE(fs::exists(prog_ / "Prot.txt"));
}

}  // namespace
