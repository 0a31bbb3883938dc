#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include "core/files.h"
#include "documents/fdf/fdf_fields.h"
#include "documents/fdf/fdf_writer.h"
#include "documents/fdf/filled_form.h"
#include "documents/fdf/pdf_text.h"
#include "tests/support/fdf_test_support.h"
#include "tools/forms/form_source.h"

namespace fondaris::documents {
namespace {

namespace tt = testing_tools;
using namespace testing_support;
using K = FdfFieldKind;

// The sample forms the build makes, as the product data names them.
std::vector<tools::FormJob> sampleForms() {
  const auto lines = tools::readSourceLines(std::string(FONDARIS_SOURCE_DIR) + "/data/param.txt");
  return lines ? tools::formJobs(*lines) : std::vector<tools::FormJob>{};
}

// Entries a customer with awkward data gives the VL application form.
std::vector<FdfEntry> awkwardEntries() {
  return {
      {"DIH1Name", "Müller) /T (Vorname", K::Text},
      {"DIH1Vorname", "Jörg", K::Text},
      {"DIH1Ort", "Weißenfels „Süd“ – 5 €", K::Text},
      {"DIH1Strasse", "ul. Źródlana 3, Łódź", K::Text},
      {"DIH1Beruf", "C:\\Daten (alt)\\", K::Text},
      {"DIH1GebName", std::string(1000, 'A') + std::string(1000, 'X'), K::Text},
      {"DIH1Kreuz", "1", K::Choice},
      {"Kontrollkästchen7", "K", K::Choice},
      {"Strategie", "VL3", K::Choice},
      {"DIH1_selbst", "Ja", K::Choice},
      {"DIH2GV1Kreuz", "X", K::Choice},
  };
}

void expectAwkwardValues(const std::map<std::string, ListedField>& fields) {
  for (const FdfEntry& entry : awkwardEntries()) {
    ASSERT_TRUE(fields.count(entry.field)) << entry.field;
    EXPECT_EQ(fields.at(entry.field).value, entry.value) << entry.field;
  }
  // The name did not spill into another field.
  EXPECT_EQ(fields.at("DIH1Vorname").value, "Jörg");
}

TEST(FdfForms, AnOutsideReaderFillsEveryValueAsTyped) {
  ASSERT_TRUE(tt::toolAvailable("pdftk"));
  const std::string form = buildFile("FQ-VL-Antrag.pdf");
  const TempFolder folder("fondaris_fdf");
  const std::string fdf = folder.file("VVSpar_pdftk.fdf");
  const std::string filled = folder.file("VVSpar_pdftk.pdf");
  ASSERT_EQ(writeFdfFile(fdf, {awkwardEntries(),
                               fdfFormReference("/opt/Daten (alt)", "FQ-VL-Antrag.pdf", false)}),
            FdfWriteResult::Written);
  std::remove(filled.c_str());
  tt::run("pdftk " + tt::quoted(form) + " fill_form " + tt::quoted(fdf) + " output " +
          tt::quoted(filled));
  ASSERT_TRUE(core::fileExists(filled));
  test_support::keepForALook(fdf, "VVSpar_pdftk.fdf");
  test_support::keepForALook(filled, "VVSpar_pdftk.pdf");
  expectAwkwardValues(pdftkFields(filled));
}

// The bytes of the /F string as qpdf (an outside reader) parses the forms-data file: its JSON
// gives them as text read byte by byte ("u:") or as hex ("b:").
std::string formReferenceAsQpdfReadsIt(const std::string& fdf) {
  const std::string json = tt::run("qpdf --json=2 --json-key=qpdf " + tt::quoted(fdf));
  static const std::regex kF(R"re("/F": "([ub]):((?:[^"\\]|\\.)*)")re");
  std::smatch m;
  if (!std::regex_search(json, m, kF)) return "(no /F)";
  const std::string body = m[2].str();
  std::string bytes;
  if (m[1] == "b") {
    for (std::size_t i = 0; i + 1 < body.size(); i += 2)
      bytes.push_back(static_cast<char>(std::stoi(body.substr(i, 2), nullptr, 16)));
    return bytes;
  }
  // Text read byte by byte: each character below U+0100 stands for its byte.
  for (char32_t c : decodeUtf8(std::regex_replace(body, std::regex(R"(\\(.))"), "$1")))
    bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return bytes;
}

// The form beside the program is found from the forms-data file: its path stands there with
// the bytes the file system names it by, parentheses and all.
TEST(FdfForms, TheFormReferenceNamesTheFileAsTheFileSystemDoes) {
  ASSERT_TRUE(tt::toolAvailable("qpdf"));
  const TempFolder folder("fondaris_fdf");
  const std::string program = folder.file("Prüf (neu)");
  std::filesystem::create_directories(program);
  const std::string form = core::joinPath(program, "FQ-VL-Antrag.pdf");
  std::filesystem::copy_file(buildFile("FQ-VL-Antrag.pdf"), form);
  const std::string fdf = folder.file("VVSpar.fdf");
  ASSERT_EQ(
      writeFdfFile(fdf, {awkwardEntries(), fdfFormReference(program, "FQ-VL-Antrag.pdf", false)}),
      FdfWriteResult::Written);
  const std::string read = formReferenceAsQpdfReadsIt(fdf);
  EXPECT_EQ(read, form);
  EXPECT_TRUE(core::fileExists(read));
  // The values keep their encoding.
  const std::string bytes = core::readFileBytes(fdf).value_or("");
  EXPECT_NE(bytes.find("/V (J\366rg)/T (DIH1Vorname)"), std::string::npos);
}

// The states of the ticked boxes per field, as qpdf (an outside reader) lists the widgets.
std::map<std::string, std::set<std::string>> tickedBoxes(const std::string& pdf) {
  const std::string json = tt::run("qpdf --json=2 --json-key=acroform " + tt::quoted(pdf));
  static const std::regex kWidget(
      R"re("appearancestate": "([^"]*)"[\s\S]*?"fullname": "([^"]*)")re");
  std::map<std::string, std::set<std::string>> ticked;
  for (auto it = std::sregex_iterator(json.begin(), json.end(), kWidget);
       it != std::sregex_iterator(); ++it)
    if ((*it)[1].length() > 1 && (*it)[1] != "/Off")
      ticked[(*it)[2]].insert((*it)[1].str().substr(1));
  return ticked;
}

// How many widgets each field has, as qpdf lists them.
std::map<std::string, int> widgetCounts(const std::string& pdf) {
  const std::string json = tt::run("qpdf --json=2 --json-key=acroform " + tt::quoted(pdf));
  static const std::regex kName(R"re("fullname": "([^"]*)")re");
  std::map<std::string, int> counts;
  for (auto it = std::sregex_iterator(json.begin(), json.end(), kName);
       it != std::sregex_iterator(); ++it)
    ++counts[(*it)[1]];
  return counts;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(FdfForms, TheFilledPdfShowsTheValuesInTheirPlaces) {
  const std::string form = buildFile("FQ-VL-Antrag.pdf");
  const TempFolder folder("fondaris_fdf");
  const FormsDataResult result = writeFormsData(
      folder.file("VVSpar.fdf"),
      {awkwardEntries(), fdfFormReference(FONDARIS_BUILD_DIR, "FQ-VL-Antrag.pdf", false)}, form);
  ASSERT_EQ(result.fdf, FdfWriteResult::Written);
  ASSERT_EQ(result.pdf.result, FilledFormResult::Written);
  EXPECT_TRUE(result.pdf.unknownFields.empty());
  const std::string filled = result.pdfPath;
  EXPECT_EQ(filled, folder.file("VVSpar.pdf"));
  test_support::keepForALook(folder.file("VVSpar.fdf"), "VVSpar.fdf");
  test_support::keepForALook(filled, "VVSpar.pdf");
  EXPECT_TRUE(tt::qpdfClean(filled));

  const std::string text = tt::pdfText(filled);
  // Polish letters are drawn as their base letters; the value itself keeps them.
  for (const char* shown : {"Müller) /T (Vorname", "Jörg", "Weißenfels „Süd“ – 5 €",
                            "C:\\Daten (alt)\\", "ul. Zródlana 3, Lódz"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown;
  expectAwkwardValues(pdftkFields(filled));

  const auto ticked = tickedBoxes(filled);
  EXPECT_EQ(ticked.at("DIH1Kreuz"), std::set<std::string>{"1"});
  EXPECT_EQ(ticked.at("Kontrollkästchen7"), std::set<std::string>{"K"});
  EXPECT_EQ(ticked.at("Strategie"), std::set<std::string>{"VL3"});
  EXPECT_EQ(ticked.at("DIH1_selbst"), std::set<std::string>{"Ja"});
  EXPECT_FALSE(ticked.count("DIH2GV1Kreuz"));  // "X": nothing chosen
}

TEST(FdfForms, AFormThatCannotBeFilledIsReportedAndNothingIsLost) {
  const TempFolder folder;
  const std::string form = buildFile("FQ-VL-Antrag.pdf");
  const std::string out = folder.file("VVSpar.pdf");
  const std::vector<FdfEntry> entries = {{"DIH1Name", "Neu", K::Text},
                                         {"GibtEsNicht", "x", K::Text}};

  EXPECT_EQ(writeFilledForm(folder.file("fehlt.pdf"), entries, out).result,
            FilledFormResult::FormMissing);
  ASSERT_TRUE(core::writeFileAtomically(folder.file("kaputt.pdf"), "%PDF-1.4\nkein PDF"));
  EXPECT_EQ(writeFilledForm(folder.file("kaputt.pdf"), entries, out).result,
            FilledFormResult::FormUnreadable);
  EXPECT_FALSE(core::fileExists(out));
  // A form cut in half: qpdf repairs what it can; either way nothing crashes and what is
  // written is a sound PDF.
  const auto whole = core::readFileBytes(form);
  ASSERT_TRUE(whole);
  ASSERT_TRUE(
      core::writeFileAtomically(folder.file("halb.pdf"), whole->substr(0, whole->size() / 2)));
  const FilledForm half =
      writeFilledForm(folder.file("halb.pdf"), entries, folder.file("halb_gefuellt.pdf"));
  if (half.result == FilledFormResult::Written)
    EXPECT_TRUE(tt::qpdfClean(folder.file("halb_gefuellt.pdf")));
  else
    EXPECT_EQ(half.result, FilledFormResult::FormUnreadable);
  EXPECT_EQ(writeFilledForm(form, entries, folder.file("fehlt/VVSpar.pdf")).result,
            FilledFormResult::CannotWrite);
  const FormsDataResult none =
      writeFormsData(folder.file("fehlt/VVSpar.fdf"), {entries, "FQ-VL-Antrag.pdf"}, form);
  EXPECT_EQ(none.fdf, FdfWriteResult::Failed);
  EXPECT_EQ(none.pdfPath, "");

  ASSERT_TRUE(core::writeFileAtomically(out, "old"));
  ::chmod(out.c_str(), 0444);
  EXPECT_EQ(writeFilledForm(form, entries, out).result, FilledFormResult::CannotWrite);
  EXPECT_EQ(core::readFileBytes(out), "old");

  ::chmod(out.c_str(), 0644);
  const FilledForm filled = writeFilledForm(form, entries, out);
  EXPECT_EQ(filled.result, FilledFormResult::Written);
  EXPECT_EQ(filled.unknownFields, std::vector<std::string>{"GibtEsNicht"});
}

// The filling lives in a module beside the program: without it (missing, or no module) the
// filled PDF counts as not written, with one line naming the module, and an old one stays.
TEST(FdfForms, WithoutTheFillingModuleTheFormIsNotWrittenAndTheOldOneStays) {
  const TempFolder folder;
  const std::string form = buildFile("FQ-VL-Antrag.pdf");
  const std::string out = folder.file("VVSpar.pdf");
  const std::vector<FdfEntry> entries = {{"DIH1Name", "Neu", K::Text}};
  ASSERT_TRUE(core::writeFileAtomically(out, "old"));
  ASSERT_TRUE(core::writeFileAtomically(folder.file("kaputt.so"), "kein Modul"));
  for (const std::string& module : {folder.file("fehlt.so"), folder.file("kaputt.so")}) {
    SCOPED_TRACE(module);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(writeFilledForm(form, entries, out, module).result, FilledFormResult::CannotWrite);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Fondaris: Das Modul '" + module + "' konnte nicht geladen werden (", 0),
              0u)
        << err;
    EXPECT_EQ(core::readFileBytes(out), "old");
  }
  EXPECT_EQ(writeFilledForm(form, entries, out).result, FilledFormResult::Written);
}

// Every sample form carries the fields and export values of the forms-data files that fill it;
// filled with a distinct value in every field, each value shows.
TEST(FdfForms, EverySampleFormCarriesItsFieldsAndShowsEveryValue) {
  const auto jobs = sampleForms();
  ASSERT_EQ(jobs.size(), 9u);
  const TempFolder folder("fondaris_fdf");
  for (const tools::FormJob& job : jobs) {
    SCOPED_TRACE(job.fileName);
    const std::string form = buildFile(job.fileName);
    EXPECT_TRUE(tt::qpdfClean(form));
    const auto listed = pdftkFields(form);
    std::vector<FdfEntry> entries;
    std::map<std::string, std::string> shown;
    for (FdfFile file : job.files) {
      for (const FdfField& field : fdfFields(file, job.variant)) {
        const std::string name(field.name);
        ASSERT_TRUE(listed.count(name)) << name;
        if (field.kind == K::Choice) {
          EXPECT_EQ(listed.at(name).type, "Button") << name;
          for (const std::string& value : fdfExportValues(field))
            EXPECT_TRUE(listed.at(name).states.count(value)) << name << " " << value;
          entries.push_back({name, fdfExportValues(field).back(), K::Choice});
        } else if (!shown.count(name)) {
          EXPECT_EQ(listed.at(name).type, "Text") << name;
          char token[8];
          std::snprintf(token, sizeof token, "W%03zu", shown.size());
          shown[name] = token;
          entries.push_back({name, token, K::Text});
        }
      }
    }
    // The forms-data file and the filled form are also left in build/test-output for a look.
    const std::string base = job.fileName.substr(0, job.fileName.size() - 4);
    const std::string fdf = folder.file(base + "_alle_Felder.fdf");
    const FormsDataResult written = writeFormsData(fdf, {entries, job.fileName}, form);
    ASSERT_EQ(written.pdf.result, FilledFormResult::Written);
    const std::string filled = written.pdfPath;
    test_support::keepForALook(fdf, base + "_alle_Felder.fdf");
    test_support::keepForALook(filled, std::filesystem::path(filled).filename().string());
    EXPECT_TRUE(tt::qpdfClean(filled));
    const std::string text = tt::pdfText(filled);
    // A field repeated on the copy page shows its value in both places.
    const auto widgets = widgetCounts(filled);
    for (const auto& [name, token] : shown)
      EXPECT_EQ(occurrences(text, token), std::size_t(widgets.at(name))) << name << " " << token;
    const auto ticked = tickedBoxes(filled);
    for (const FdfEntry& entry : entries) {
      if (entry.kind == K::Choice) {
        EXPECT_TRUE(ticked.count(entry.field) && ticked.at(entry.field).count(entry.value))
            << entry.field;
      }
    }
  }
}

}  // namespace
}  // namespace fondaris::documents
