#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/files.h"
#include "documents/fdf/fdf_writer.h"
#include "tests/support/fdf_test_support.h"

namespace fondaris::documents {
namespace {

using K = FdfFieldKind;

TEST(FdfWriter, WritesTheFileLayoutInOrder) {
  const FdfData data{{{"DIH1Name", "Müller", K::Text},
                      {"DIH1Kreuz", "1", K::Choice},
                      {"ZSPHöheSparrate", "50,00", K::Text}},
                     "/opt/fondaris/FQ-VL-Antrag.pdf"};
  EXPECT_EQ(fdfBytes(data),
            "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n"
            "<< /V (M\xFCller)/T (DIH1Name)>>\n"
            "<< /V /1 /T (DIH1Kreuz)>>\n"
            "<< /V (50,00)/T (ZSPH\xF6heSparrate)>>\n"
            "]\n/F (/opt/fondaris/FQ-VL-Antrag.pdf)/ID [ "
            "<1014499e909bdf866ceb85b0f3a44969><b9ea7cefabe427ce7f2c914d8fa54bf8>\n"
            "] >>\n>>\nendobj\ntrailer\n<<\n/Root 1 0 R\n\n>>\n%%EOF\n");
}

// The inside of the literal string as written for a typed text.
TEST(FdfWriter, EscapesAndEncodesTextStrings) {
  const struct {
    std::string typed, written;
  } cases[] = {
      {"Müller) /T (Vorname", "M\xFCller\\) /T \\(Vorname"},
      {"C:\\Daten (alt)\\", "C:\\\\Daten \\(alt\\)\\\\"},
      {"Zeile 1\r\nZeile 2", "Zeile 1\\r\\nZeile 2"},
      {"a\tb\x01", "\\376\\377\\000a\\000\\011\\000b\\000\\001"},  // U+0001 has no PDFDoc byte
      {"Straße Ärger",
       "Stra\xDF"
       "e \xC4rger"},
      // € and the German quotation marks have other bytes in PDFDocEncoding than in
      // Windows-1252; they are written in octal so the file stays plain.
      {"5 € „ja“ – ok", "5 \\240 \\214ja\\215 \\205 ok"},
      // Polish letters without a PDFDoc byte: the whole text as UTF-16BE.
      {"Łódź", "\\376\\377\\001A\\000\xF3\\000d\\001z"},
      // A text that would look like a byte order mark is written as UTF-16 as well.
      {"þÿ", "\\376\\377\\000\\376\\000\\377"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(pdfLiteralBody(pdfTextStringBytes(c.typed)), c.written) << c.typed;
}

TEST(FdfWriter, WritesExportValuesAsNames) {
  EXPECT_EQ(pdfNameBody("Ja"), "Ja");
  EXPECT_EQ(pdfNameBody("VL11"), "VL11");
  EXPECT_EQ(pdfNameBody("a b/(c)#"), "a#20b#2F#28c#29#23");
  const FdfData none{{{"DIH2GV1Kreuz", "", FdfFieldKind::Choice}}, "F.pdf"};
  EXPECT_NE(fdfBytes(none).find("<< /V /X /T (DIH2GV1Kreuz)>>\n"), std::string::npos);
}

TEST(FdfWriter, NamesTheFormAndTheFilledPdf) {
  EXPECT_EQ(fdfFormReference("/opt/fondaris", "FQ-VL-Antrag.pdf", false),
            "/opt/fondaris/FQ-VL-Antrag.pdf");
  EXPECT_EQ(fdfFormReference("/opt/fondaris/", "FQ-VL-Antrag.pdf", false),
            "/opt/fondaris/FQ-VL-Antrag.pdf");
  EXPECT_EQ(fdfFormReference("/opt/fondaris", "FQ-VL-Antrag.pdf", true), "FQ-VL-Antrag.pdf");
  EXPECT_EQ(filledPdfPath("/home/a/Dokumente/VVSpar.fdf"), "/home/a/Dokumente/VVSpar.pdf");
  EXPECT_EQ(filledPdfPath("/home/a.b/VVSpar"), "/home/a.b/VVSpar.pdf");
}

TEST(FdfWriter, AFailedWriteLeavesTheOldFileWholeAndSaysSo) {
  const testing_support::TempFolder folder;
  const std::string path = folder.file("VVSpar.fdf");
  ASSERT_TRUE(core::writeFileAtomically(path, "old file"));
  ::chmod(path.c_str(), 0444);
  const FdfData data{{{"DIH1Name", "Neu", FdfFieldKind::Text}}, "FQ-VL-Antrag.pdf"};
  EXPECT_EQ(writeFdfFile(path, data), FdfWriteResult::Failed);
  EXPECT_EQ(core::readFileBytes(path), "old file");

  EXPECT_EQ(writeFdfFile(folder.file("fehlt/VVSpar.fdf"), data), FdfWriteResult::Failed);

  ::chmod(path.c_str(), 0644);
  ASSERT_EQ(writeFdfFile(path, data), FdfWriteResult::Written);
  EXPECT_EQ(core::readFileBytes(path), fdfBytes(data));
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("")),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace fondaris::documents
