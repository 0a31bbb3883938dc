#include <gtest/gtest.h>

#include "core/files.h"
#include "tests/support/fdf_test_support.h"
#include "tools/forms/form_source.h"

namespace fondaris::tools {
namespace {

using documents::FdfFile;
using documents::testing_support::TempFolder;

// A complete source of the set-up fee transfer form, one field per line after the head.
std::vector<std::string> transferSource() {
  std::vector<std::string> lines = {"title | Überweisung", "page | Muster", "section | Auftrag"};
  for (const auto& field : documents::fdfFields(FdfFile::VVZUEBEEG))
    lines.push_back("text | " + std::string(field.name) + " | 4 | " + std::string(field.name));
  return lines;
}

TEST(FormSource, RefusesAFormThatDoesNotMatchTheFieldTable) {
  const FormJob job{"T.pdf", "t.txt", {"eeg"}, {FdfFile::VVZUEBEEG}};
  const struct {
    const char* what;
    std::function<void(std::vector<std::string>&)> change;
    std::string error;  // empty: builds
  } cases[] = {
      {"complete", [](auto&) {}, ""},
      {"a field missing", [](auto& l) { l.pop_back(); }, "missing field UebDatum of VVZUEBEEG.fdf"},
      {"a field nobody fills", [](auto& l) { l.push_back("text | Foo | 4 | Foo"); },
       "field Foo is filled by no forms-data file"},
      {"a text field as a box", [](auto& l) { l.back() = "choice | UebDatum | 4 | D | 1=a"; },
       "field UebDatum has the wrong kind"},
      {"a line of another tag only", [](auto& l) { l.back() = "[zueb] " + l.back(); },
       "missing field UebDatum"},
      {"a malformed line", [](auto& l) { l.push_back("text | Foo | breit | Foo"); },
       "t.txt:18: cannot read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolder folder;
    auto source = transferSource();
    c.change(source);
    const std::string out = folder.file("T.pdf");
    const std::string error = buildForm(source, job, out);
    if (c.error.empty()) {
      EXPECT_EQ(error, "");
      EXPECT_TRUE(documents::testing_tools::qpdfClean(out));
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_FALSE(core::fileExists(out));
    }
  }
}

TEST(FormSource, RefusesAChoiceWithoutAnExportValueOfTheTable) {
  const FormJob job{"B.pdf", "b.txt", {}, {FdfFile::VVBuSpar}};
  std::vector<std::string> source = {"title | Schutz", "page"};
  for (const auto& field : documents::fdfFields(FdfFile::VVBuSpar))
    source.push_back(field.kind == documents::FdfFieldKind::Text
                         ? "text | " + std::string(field.name) + " | 3 | x"
                         : "choice | " + std::string(field.name) + " | 6 | A | 0=Herr | 1=Frau");
  const TempFolder folder;
  EXPECT_EQ(buildForm(source, job, folder.file("B.pdf")),
            "b.txt: field DIH1Kreuz lacks the export value K");
}

TEST(FormSource, BuildsEveryNamedFormOnce) {
  const auto jobs = formJobs({
      R"(applicationFormVl = "A.pdf")",
      R"(applicationFormZiel = "A.pdf"   # the same form for both variants)",
      R"(protectionForm = "")",
      R"(formVvzuebVl = "U.pdf")",
  });
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].fileName, "A.pdf");
  EXPECT_EQ(jobs[0].variant, documents::FdfVariant::Both);
  EXPECT_EQ(jobs[0].tags, (std::set<std::string>{"vl", "ziel"}));
  // The application source then lays out the strategies of both variants in one group.
  const TempFolder folder;
  const auto source =
      readSourceLines(std::string(FONDARIS_SOURCE_DIR) + "/data/forms/" + jobs[0].source);
  ASSERT_TRUE(source);
  ASSERT_EQ(buildForm(*source, jobs[0], folder.file("A.pdf")), "");
  const auto fields = documents::testing_support::pdftkFields(folder.file("A.pdf"));
  ASSERT_TRUE(fields.count("Strategie"));
  EXPECT_TRUE(fields.at("Strategie").states.count("VL1"));
  EXPECT_TRUE(fields.at("Strategie").states.count("ZSP11"));
  EXPECT_TRUE(fields.count("VLStrategie") && fields.count("ZSPStrategie"));
  EXPECT_EQ(jobs[1].fileName, "U.pdf");
  EXPECT_EQ(jobs[1].files, std::vector<FdfFile>{FdfFile::VVZUEB});
}

}  // namespace
}  // namespace fondaris::tools
