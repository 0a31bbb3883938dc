#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <podofo/podofo.h>

#include "core/files.h"
#include "documents/fdf/pdf_text.h"
#include "documents/pdf/font_codes.h"
#include "documents/pdf/font_resolver.h"
#include "documents/pdf/formatted_text.h"
#include "documents/pdf/pdf_binding.h"
#include "documents/pdf/utf8_text.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_output.h"

namespace fondaris::documents {
namespace {

namespace tools = testing_tools;

TEST(PdfErrorLine, FirstMatchingBitPicksThePrefix) {
  struct Case {
    std::uint32_t type;
    const char* line;
    bool fatal;
  };
  const Case cases[] = {
      {kPdfWarning, "Warning: x\n", false},
      {kPdfSyntaxError, "Syntax error!: x\n", false},
      {kPdfValueError, "Value error: x\n", false},
      {kPdfFontError, "TrueType font error!: x\n", false},
      {kPdfFileError, "File error: x\n", false},
      {kPdfFatalError, "Fatal error: x\n", true},
      // File is asked before fatal, warning before everything.
      {kPdfFileError | kPdfFatalError, "File error: x\n", false},
      {kPdfWarning | kPdfFatalError, "Warning: x\n", false},
      {0, "x\n", false},
      {1u << 3, "x\n", false},
  };
  for (const Case& c : cases) {
    const PdfErrorLine line = pdfErrorLine(c.type, "x");
    EXPECT_EQ(line.text, c.line) << c.type;
    EXPECT_EQ(line.fatal, c.fatal) << c.type;
  }
}

TEST(FormattedText, ColourCommandsAreSplitOff) {
  const FormattedText a = parseFormattedText("\\FC[0]Wertentwicklung");
  EXPECT_EQ(a.plain, "Wertentwicklung");
  ASSERT_EQ(a.colors.size(), 1u);
  EXPECT_EQ(a.colors[0].offset, 0u);
  EXPECT_EQ(a.colors[0].color, 0u);

  const FormattedText b = parseFormattedText("rot\\FC[255] weiß\\FC[16777215]!");
  EXPECT_EQ(b.plain, "rot weiß!");
  ASSERT_EQ(b.colors.size(), 2u);
  EXPECT_EQ(b.colors[0].offset, 3u);
  EXPECT_EQ(b.colors[0].color, 255u);
  EXPECT_EQ(b.colors[1].color, 16777215u);

  // Malformed commands stay text.
  for (const char* text : {"\\FC[]x", "\\FC[12x", "\\FC[99999999]", "\\FC"})
    EXPECT_EQ(parseFormattedText(text).plain, text) << text;
}

TEST(FallbackFont, NamesAndStyles) {
  struct Case {
    const char* base;
    bool fixedPitch;
    const char* family;
    bool bold, italic;
  };
  const Case cases[] = {
      {"Times-Roman", false, "Times New Roman", false, false},
      {"Times Roman,Italic", false, "Times New Roman", false, true},
      {"Times-Bold", false, "Times New Roman", true, false},
      {"ABCDEF+Times-BoldItalic", false, "Times New Roman", true, false},
      {"Courier", true, "Courier New", false, false},
      {"Helvetica,BoldItalic", false, "Arial", true, true},
      {"Verdana,Bold", false, "Arial", true, false},
  };
  for (const Case& c : cases) {
    const FontChoice f = fallbackFont(c.base, c.fixedPitch);
    EXPECT_EQ(f.family, c.family) << c.base;
    EXPECT_EQ(f.bold, c.bold) << c.base;
    EXPECT_EQ(f.italic, c.italic) << c.base;
  }
  EXPECT_FALSE(resolveFontFile("Arial", false, false).empty());
}

// The program's and the fallback families are drawn in standard fonts of the same metrics:
// nothing is embedded for them.
TEST(StandardTwin, FamiliesAndStyles) {
  struct Case {
    const char* family;
    bool bold, italic;
    const char* standard;
  };
  const Case cases[] = {
      {"Arial", false, false, "Helvetica"},
      {"Arial", true, false, "Helvetica-Bold"},
      {"Arial", true, true, "Helvetica-BoldOblique"},
      {"Times New Roman", false, false, "Times-Roman"},
      {"Times New Roman", false, true, "Times-Italic"},
      {"Courier New", true, false, "Courier-Bold"},
      {"Liberation Sans", false, false, ""},
      {"Helvetica", false, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(standardTwin(c.family, c.bold, c.italic), c.standard) << c.family;
    if (*c.standard) {
      EXPECT_TRUE(isStandardFont(c.standard)) << c.standard;
    }
  }

  auto pdf = PdfBinding::create();
  pdf->createDocument();
  pdf->editPage(pdf->appendPage(595, 842));
  ASSERT_EQ(pdf->setFont("Arial", true, 10), 1);
  // Helvetica's built-in widths, which are Arial's.
  EXPECT_NEAR(pdf->textWidth("Fondswert"), 50.56, 0.005);
  pdf->setTextRect(50, 800, 300);
  ASSERT_EQ(pdf->writeFText(TextAlign::Left, "Fondswert"), 1);
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string path = folder.file("arial.pdf");
  ASSERT_EQ(pdf->openOutputFile(path), 1);
  ASSERT_GT(pdf->closeFile(), 0);
  const std::string bytes = core::readFileBytes(path).value_or("");
  EXPECT_NE(bytes.find("/BaseFont/Helvetica-Bold"), std::string::npos);
  EXPECT_EQ(bytes.find("/FontFile"), std::string::npos);
}

// Text widths are the sums PoDoFo's metrics give, whatever fonts and sizes came before.
TEST(PdfBinding, TextWidthsAreThoseOfTheFontsMetrics) {
  const struct {
    const char* family;
    bool bold;
    double size;
    const char* text;
  } cases[] = {{"Arial", false, 10, "Gr\u00fc\u00dfe 1.234,56 EUR"},
               {"Arial", true, 9, "Gr\u00fc\u00dfe 1.234,56 EUR"},
               {"Arial", false, 7.5, "\u20ac \u2013 Fondswert"},
               {"Times New Roman", false, 12, "Jahr 2027 \u00a0x"},
               {"Arial", false, 10, "Gr\u00fc\u00dfe 1.234,56 EUR"}};
  auto pdf = PdfBinding::create();
  pdf->createDocument();
  PoDoFo::PdfMemDocument reference;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.size));
    ASSERT_EQ(pdf->setFont(c.family, c.bold, c.size), 1);
    PoDoFo::PdfFont* font =
        reference.CreateFont(standardTwin(c.family, c.bold, false).c_str(), false, false, false,
                             PoDoFo::PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                             PoDoFo::PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
    ASSERT_NE(font, nullptr);
    font->SetFontSize(static_cast<float>(c.size));
    const double expected = font->GetFontMetrics()->StringWidth(
        PoDoFo::PdfString(reinterpret_cast<const PoDoFo::pdf_utf8*>(c.text)));
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(pdf->textWidth(c.text), expected, 1e-9);
  }
}

// A one-page document with text pieces placed the way templates of other makers split them.
class ReplaceTest : public testing::Test {
 protected:
  void SetUp() override {
    pdf_ = PdfBinding::create();
    ASSERT_TRUE(pdf_);
    pdf_->setErrorHandler(
        7, [this](std::intptr_t user, int, const std::string& message, std::uint32_t type) {
          EXPECT_EQ(user, 7);
          errors_.push_back(pdfErrorLine(type, message).text);
          return 0;
        });
    pdf_->createDocument();
    pdf_->editPage(pdf_->appendPage(595, 842));
    ASSERT_EQ(pdf_->setFont("Helvetica", false, 10, false), 1);
    piece(50, 100, "#VN");  // continues without a gap
    piece(50 + pdf_->textWidth("#VN"), 100, "AnredeName#");
    piece(50, 120, "Hallo");  // a visible gap to the next piece
    piece(50 + pdf_->textWidth("Hallo") + 15, 120, "Welt");
    piece(50, 140,
          "Seite\xC2\xA0"
          "1 von 3");  // no-break space
    piece(50, 160,
          "Pr\xC3\xA4mien\xC2\xAD"
          "plan f\xC3\xBCr #J# Jahre");  // soft hyphen
    pdf_->endPage();
  }

  void piece(double x, double distance, const std::string& text) {
    pdf_->setTextRect(x, 842 - distance, 400);
    ASSERT_EQ(pdf_->writeFText(TextAlign::Left, text), 1);
  }

  std::unique_ptr<PdfBinding> pdf_;
  std::vector<std::string> errors_;
};

TEST_F(ReplaceTest, MatchesAcrossPiecesGapsAndSpecialCharacters) {
  EXPECT_EQ(pdf_->replaceText(1, "#VNAnredeName#", "Herrn Jörg Müller"), kReplaceDone);
  EXPECT_EQ(pdf_->replaceText(1, "Hallo Welt", "Grüße"), kReplaceDone);
  EXPECT_EQ(pdf_->replaceTextOnAllPages("Seite 1 von 3", "Seite 1 von 4"), kReplaceDone);
  EXPECT_EQ(pdf_->replaceTextOnAllPages("Prämien-plan", "Sparplan"), kReplaceDone);
  EXPECT_EQ(pdf_->replaceTextOnAllPages("#J#", "25"), kReplaceDone);
  const std::string text = pdf_->pageText(1);
  EXPECT_NE(text.find("Herrn Jörg Müller"), std::string::npos) << text;
  EXPECT_NE(text.find("Grüße"), std::string::npos) << text;
  EXPECT_EQ(text.find("Hallo"), std::string::npos) << text;
  EXPECT_NE(text.find("Seite 1 von 4"), std::string::npos) << text;
  EXPECT_NE(text.find("Sparplan für 25 Jahre"), std::string::npos) << text;
  EXPECT_TRUE(errors_.empty());

  // What an outside reader sees after writing.
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string path = folder.file("replace_pieces.pdf");
  ASSERT_EQ(pdf_->openOutputFile(path), 1);
  ASSERT_GT(pdf_->closeFile(), 0);
  test_support::keepForALook(path, "replace_pieces.pdf");
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  const std::string outside = tools::pdfText(path);
  EXPECT_NE(outside.find("Herrn Jörg Müller"), std::string::npos) << outside;
  EXPECT_EQ(outside.find('#'), std::string::npos) << outside;
  if (tools::toolAvailable("qpdf")) {
    EXPECT_TRUE(tools::qpdfClean(path));
  }
}

TEST_F(ReplaceTest, ReplacementCanBeEmptyAndLeavesOtherTextAlone) {
  EXPECT_EQ(pdf_->replaceText(1, "Hallo Welt", ""), kReplaceDone);
  EXPECT_EQ(pdf_->replaceText(1, "nicht vorhanden", "x"), kReplaceDone);
  const std::string text = pdf_->pageText(1);
  EXPECT_EQ(text.find("Hallo"), std::string::npos);
  EXPECT_EQ(text.find("Welt"), std::string::npos);
  EXPECT_NE(text.find("#VNAnredeName#"), std::string::npos);
}

// Each search reads the page as the earlier replacements left it: a replacement and the text
// after it are found together, a replaced text no more.
TEST_F(ReplaceTest, EachSearchReadsWhatTheEarlierOnesWrote) {
  const struct {
    const char* search;
    const char* replacement;
    int replaced;
  } steps[] = {{"AnredeName#", "Y#", 1}, {"AnredeName", "x", 0}, {"#VNY#", "Z", 1},
               {"#VN", "x", 0},          {"Z", "Hallo", 1},      {"Hallo", "Tschüs", 2}};
  for (const auto& step : steps) {
    ReplaceCount count;
    EXPECT_EQ(pdf_->replaceText(1, step.search, step.replacement, &count), kReplaceDone);
    EXPECT_EQ(count.replaced, step.replaced) << step.search;
  }
  EXPECT_NE(pdf_->pageText(1).find("Tschüs Tschüs Welt"), std::string::npos) << pdf_->pageText(1);
}

// The count tells a missing text from a replaced one, whatever the answer says.
TEST_F(ReplaceTest, CountSaysHowManyWereReplaced) {
  const struct {
    std::string search;
    int replaced;
  } cases[] = {{"#VNAnredeName#", 1}, {"Welt", 1}, {"nicht vorhanden", 0}, {"e", 4}};
  for (const auto& c : cases) {
    ReplaceCount count{-1, -1};
    EXPECT_EQ(pdf_->replaceTextOnAllPages(c.search, "x", &count), kReplaceDone) << c.search;
    EXPECT_EQ(count.replaced, c.replaced) << c.search;
    EXPECT_EQ(count.left, 0) << c.search;
  }
  ReplaceCount count{-1, -1};
  EXPECT_EQ(pdf_->replaceText(2, "x", "y", &count), kReplacePageMissing);
  EXPECT_EQ(count.replaced, 0);
}

TEST_F(ReplaceTest, ReturnCodes) {
  const std::string tooLong(1024, 'x');
  const std::string longest(1023, 'x');
  EXPECT_EQ(pdf_->replaceText(1, tooLong, "a"), kReplaceTooLong);
  EXPECT_EQ(pdf_->replaceText(1, "a", tooLong), kReplaceTooLong);
  EXPECT_EQ(pdf_->replaceText(1, longest, longest), kReplaceDone);
  EXPECT_EQ(pdf_->replaceText(2, "Hallo", "x"), kReplacePageMissing);
  EXPECT_TRUE(errors_.empty());

  EXPECT_EQ(pdf_->replaceText(1, "", "x"), 0);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Value error: The search text cannot be an empty string!\n");

  auto empty = PdfBinding::create();
  EXPECT_EQ(empty->replaceTextOnAllPages("a", "b"), kReplaceNoInstance);
}

// Text PoDoFo cannot take safely reaches it repaired, with a warning each: malformed UTF-8 (it
// read past its buffer) is read as Windows-1252, and characters the Windows-1252 fonts lack are
// printed as '?' instead of vanishing. Arial is embedded as a subset, so replacements take the
// fallback path.
TEST(PdfBinding, TextPoDoFoCannotTakeIsRepairedAndLogged) {
  struct Case {
    const char* drawn;
    const char* replacement;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"#A# und \xE4",
       "\xC5\x30",
       {"\xC3\x85"
        "0",
        "und \xC3\xA4"}},                                                   // C5 30; a lone E4
      {"\xC5\x81ukasz #A#", "Wa\xC5\x82\xC4\x99sa", {"?ukasz", "Wa??sa"}},  // Łukasz Wałęsa
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drawn);
    auto pdf = PdfBinding::create();
    std::vector<std::string> errors;
    pdf->setErrorHandler(0,
                         [&](std::intptr_t, int, const std::string& message, std::uint32_t type) {
                           errors.push_back(pdfErrorLine(type, message).text);
                           return 0;
                         });
    pdf->createDocument();
    pdf->editPage(pdf->appendPage(595, 842));
    ASSERT_EQ(pdf->setFont("Arial", false, 10), 1);
    pdf->setTextRect(50, 700, 400);
    ASSERT_EQ(pdf->writeFText(TextAlign::Left, c.drawn), 1);
    pdf->endPage();
    EXPECT_EQ(pdf->replaceText(1, "#A#", c.replacement), kReplaceDone);
    const std::string text = pdf->pageText(1);
    for (const std::string& part : c.expected)
      EXPECT_NE(text.find(part), std::string::npos) << text;
    ASSERT_EQ(errors.size(), 2u);
    for (const std::string& line : errors) EXPECT_EQ(line.rfind("Warning: ", 0), 0u) << line;
    for (const char* bad : {"\xC5\x30", "\xE2\x82", "\xF4\x90\x80\x80", "\xED\xA0\x80"})
      EXPECT_GE(pdf->textWidth(bad), 0);
  }
}

// A binding with an imported template and the log lines it reports.
struct ImportedTemplate {
  std::unique_ptr<PdfBinding> pdf = PdfBinding::create();
  std::vector<std::string> errors;

  explicit ImportedTemplate(const std::string& path) {
    pdf->setErrorHandler(
        0, [this](std::intptr_t, int, const std::string& message, std::uint32_t type) {
          errors.push_back(pdfErrorLine(type, message).text);
          return 0;
        });
    pdf->createDocument();
    EXPECT_GE(pdf->openImportFile(path), 0);
    EXPECT_GE(pdf->importPages(1), 1);
  }

  std::string write(const std::string& path) {
    EXPECT_EQ(pdf->openOutputFile(path), 1);
    EXPECT_GT(pdf->closeFile(), 0);
    return path;
  }
};

// The font resources of a written file's first page.
std::size_t fontsOnFirstPage(const std::string& path) {
  PoDoFo::PdfMemDocument document(path.c_str());
  PoDoFo::PdfObject* fonts = document.GetPage(0)->GetResources()->GetIndirectKey("Font");
  return fonts ? fonts->GetDictionary().GetKeys().size() : 0;
}

const tools::Word* wordStarting(const std::vector<tools::Word>& words, const std::string& text) {
  for (const tools::Word& w : words)
    if (w.text.rfind(text, 0) == 0) return &w;
  return nullptr;
}

// PoDoFo maps every glyph of the font; a writer that embeds only what it uses names only those.
void keepOnlyCharactersInToUnicode(const std::string& path, const std::u32string& used) {
  PoDoFo::PdfMemDocument document(path.c_str());
  for (PoDoFo::PdfObject* object : document.GetObjects()) {
    if (!object->IsDictionary() || !object->GetDictionary().HasKey("ToUnicode")) continue;
    PoDoFo::PdfObject* map = object->GetIndirectKey("ToUnicode");
    char* buffer = nullptr;
    PoDoFo::pdf_long length = 0;
    map->GetStream()->GetFilteredCopy(&buffer, &length);
    const auto codes = detail::parseToUnicode(std::string_view(buffer, length));
    PoDoFo::podofo_free(buffer);
    std::string cmap = "begincmap\nbeginbfchar\n";
    char line[32];
    for (const auto& [code, text] : codes)
      if (text.size() == 1 && text[0] < 0x10000 && used.find(text[0]) != std::u32string::npos) {
        std::snprintf(line, sizeof line, "<%04X> <%04X>\n", code, static_cast<unsigned>(text[0]));
        cmap += line;
      }
    cmap += "endbfchar\nendcmap\n";
    map->GetStream()->Set(cmap.data(), static_cast<PoDoFo::pdf_long>(cmap.size()));
  }
  document.Write((path + ".neu").c_str());
  std::filesystem::rename(path + ".neu", path);
}

// A template page showing "Berater #VM1# Ende" in a composite font (Identity-H, with a ToUnicode
// map of only those characters) by `content`, where %F stands for the font and %S for the string.
void writeCompositeTemplate(const std::string& path, const std::string& content, int rotate = 0) {
  using namespace PoDoFo;
  {
    PdfMemDocument document;
    PdfPage* page = document.CreatePage(PdfRect(0, 0, 595, 842));
    const std::string file = resolveFontFile("Arial", false, false);
    PdfFont* font =
        document.CreateFont("Arial", false, false, false, new PdfIdentityEncoding(0, 0xffff, true),
                            PdfFontCache::eFontCreationFlags_None, true, file.c_str());
    ASSERT_TRUE(font);
    font->SetFontSize(10);
    PdfPainter painter;
    painter.SetPage(page);
    painter.SetFont(font);
    painter.DrawText(50, 700, PdfString(reinterpret_cast<const pdf_utf8*>("Berater #VM1# Ende")));
    painter.FinishPage();
    char* buffer = nullptr;
    pdf_long length = 0;
    page->GetContents()->GetStream()->GetFilteredCopy(&buffer, &length);
    const std::string drawn(buffer, static_cast<std::size_t>(length));
    podofo_free(buffer);
    std::smatch resource, shown;
    ASSERT_TRUE(std::regex_search(drawn, resource, std::regex(R"((/\w+) [\d.]+ Tf)")));
    ASSERT_TRUE(std::regex_search(drawn, shown, std::regex("<[0-9A-Fa-f]+>")));
    std::string text = std::regex_replace(content, std::regex("%F"), resource[1].str());
    text = std::regex_replace(text, std::regex("%S"), shown[0].str());
    page->GetContents()->GetStream()->Set(text.data(), static_cast<pdf_long>(text.size()));
    if (rotate) page->SetRotation(rotate);
    document.Write(path.c_str());
  }
  keepOnlyCharactersInToUnicode(path, U"Berater #VM1# Ende");
}

// Text in a composite font (Type0, Identity-H, two bytes a character) is read through its
// ToUnicode map and replaced where the placeholder stood: in the font itself when it holds every
// glyph of the replacement, else in the fallback font, the rest of the line moving on.
TEST(PdfBinding, CompositeFontTextIsReplaced) {
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string fixture = folder.file("composite_font.pdf");
  writeCompositeTemplate(fixture, "BT %F 10 Tf 1 0 0 1 50 700 Tm %S Tj ET");
  test_support::keepForALook(fixture, "composite_font.pdf");
  const bool readers = tools::toolAvailable("pdftotext") && tools::toolAvailable("qpdf");
  const double placeholderX =
      readers ? wordStarting(tools::pdfWords(fixture, 1), "#VM1#")->xMin : 0;
  const struct Case {
    const char* name;
    const char* replacement;
    std::size_t fonts;  // 1: drawn in the template's own font
  } cases[] = {
      {"own_glyphs", "Bernd", 1},             // every letter stands on the page already
      {"fallback", "Muster Finanz GmbH", 2},  // 'G', 'F', 'z' … the subset lacks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImportedTemplate t(fixture);
    ReplaceCount count;
    EXPECT_EQ(t.pdf->replaceText(1, "#VM1#", c.replacement, &count), kReplaceDone);
    EXPECT_EQ(count.replaced, 1);
    EXPECT_EQ(count.left, 0);
    // What the fallback font drew is read by later searches like the template's own text.
    const std::string word = c.fonts == 2 ? "Finanz" : "Bernd";
    EXPECT_EQ(t.pdf->replaceText(1, word, word, &count), kReplaceDone);
    EXPECT_EQ(count.replaced, 1) << word;
    // The fallback font's text is drawn after the template's: outside readers place it.
    EXPECT_NE(t.pdf->pageText(1).find(c.replacement), std::string::npos) << t.pdf->pageText(1);
    EXPECT_EQ(t.pdf->pageText(1).find("#VM1#"), std::string::npos) << t.pdf->pageText(1);
    EXPECT_TRUE(t.errors.empty()) << t.errors.front();
    const std::string out = t.write(folder.file(std::string(c.name) + ".pdf"));
    test_support::keepForALook(out, std::string("composite_font_") + c.name + ".pdf");
    EXPECT_EQ(fontsOnFirstPage(out), c.fonts);
    if (!readers) continue;
    EXPECT_TRUE(tools::qpdfClean(out));
    EXPECT_EQ(tools::unfilteredStreams(out), 0);  // the fallback font's program too
    EXPECT_NE(tools::pdfText(out).find(std::string("Berater ") + c.replacement + " Ende"),
              std::string::npos)
        << tools::pdfText(out);
    const auto words = tools::pdfWords(out, 1);
    const std::string firstWord = std::string(c.replacement).substr(0, 5);
    ASSERT_TRUE(wordStarting(words, firstWord)) << firstWord;
    EXPECT_NEAR(wordStarting(words, firstWord)->xMin, placeholderX, 0.5);
    EXPECT_TRUE(tools::collidingWords(words).empty()) << tools::collidingWords(words).front();
  }
}

// The replacement stands where the placeholder stood, upright along its line, whatever matrices
// the page uses; here drawn in the fallback font, since the font lacks its glyphs.
TEST(PdfBinding, CompositeFontReplacementFollowsThePageMatrices) {
  if (!tools::toolAvailable("pdftotext") || !tools::toolAvailable("qpdf"))
    GTEST_SKIP() << "poppler-utils or qpdf missing";
  const test_support::TempFolder folder("fondaris_pdf");
  const struct Case {
    const char* name;
    const char* content;
    int rotate;
  } cases[] = {
      {"flipped", "1 0 0 -1 0 842 cm BT %F 10 Tf 1 0 0 -1 50 142 Tm %S Tj ET", 0},
      {"turned_cm", "0 1 -1 0 842 0 cm BT %F 10 Tf 1 0 0 1 50 700 Tm %S Tj ET", 0},
      {"turned_text", "BT %F 10 Tf 0 -1 1 0 300 700 Tm %S Tj ET", 0},
      {"scaled", "q 2 0 0 2 0 0 cm BT %F 5 Tf 1 0 0 1 25 350 Tm %S Tj ET Q", 0},
      {"page_rotate", "BT %F 10 Tf 1 0 0 1 50 700 Tm %S Tj ET", 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string fixture = folder.file(std::string(c.name) + ".pdf");
    writeCompositeTemplate(fixture, c.content, c.rotate);
    const tools::Word* placeholder = nullptr;
    const auto before = tools::pdfWords(fixture, 1);
    placeholder = wordStarting(before, "#VM1#");
    ASSERT_TRUE(placeholder) << tools::pdfText(fixture);
    ImportedTemplate t(fixture);
    EXPECT_EQ(t.pdf->replaceText(1, "#VM1#", "Muster Finanz GmbH"), kReplaceDone);
    const std::string out = t.write(folder.file(std::string(c.name) + "_aus.pdf"));
    test_support::keepForALook(out, std::string("composite_matrix_") + c.name + ".pdf");
    EXPECT_TRUE(tools::qpdfClean(out));
    EXPECT_NE(tools::run("pdftotext " + tools::quoted(out) + " -")
                  .find("Berater Muster Finanz GmbH Ende"),
              std::string::npos)
        << tools::run("pdftotext " + tools::quoted(out) + " -");
    const auto words = tools::pdfWords(out, 1);
    const tools::Word* muster = wordStarting(words, "Muster");
    ASSERT_TRUE(muster);
    // "Muster" is about as long as "#VM1#": its box lies where the placeholder's lay.
    EXPECT_NEAR(muster->xMin, placeholder->xMin, 2);
    EXPECT_NEAR(muster->yMin, placeholder->yMin, 2);
    EXPECT_TRUE(tools::collidingWords(words).empty()) << tools::collidingWords(words).front();
  }
}

// A simple font whose /Differences name its codes (here without a ToUnicode map): the page
// reads through the glyph names, and a replacement whose characters the encoding holds is
// written in the font itself.
TEST(PdfBinding, CustomEncodingIsReadAndWrittenThroughItsGlyphNames) {
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string fixture = folder.file("differences.pdf");
  {
    using namespace PoDoFo;
    PdfMemDocument document;
    PdfPage* page = document.CreatePage(PdfRect(0, 0, 595, 842));
    PdfObject* font = document.GetObjects().CreateObject("Font");
    font->GetDictionary().AddKey("Subtype", PdfName("Type1"));
    font->GetDictionary().AddKey("BaseFont", PdfName("Helvetica"));
    PdfArray differences;
    differences.push_back(PdfObject(static_cast<pdf_int64>(1)));
    for (const char* name : {"numbersign", "V", "M", "one", "uni00E4", "udieresis", "germandbls"})
      differences.push_back(PdfObject(PdfName(name)));
    PdfDictionary encoding;
    encoding.AddKey("Type", PdfName("Encoding"));
    encoding.AddKey("Differences", differences);
    font->GetDictionary().AddKey("Encoding", encoding);
    page->AddResource(PdfName("F1"), font->Reference(), PdfName("Font"));
    // "Pr\x05mie #VM1#" with the placeholder in codes 1 to 4.
    const std::string content =
        "BT /F1 12 Tf 50 700 Td (Pr\\005mie ) Tj <0102030401> Tj ( Ende) Tj ET";
    page->GetContents()->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
    document.Write(fixture.c_str());
  }
  ImportedTemplate t(fixture);
  EXPECT_NE(t.pdf->pageText(1).find("Prämie #VM1# Ende"), std::string::npos) << t.pdf->pageText(1);
  EXPECT_EQ(t.pdf->replaceText(1, "#VM1#", "Grüße"), kReplaceDone);
  EXPECT_EQ(t.pdf->replaceText(1, "Prämie", "Summe"), kReplaceDone);
  EXPECT_NE(t.pdf->pageText(1).find("Summe Grüße Ende"), std::string::npos) << t.pdf->pageText(1);
  EXPECT_TRUE(t.errors.empty()) << t.errors.front();
  const std::string out = t.write(folder.file("differences_aus.pdf"));
  test_support::keepForALook(out, "differences_replaced.pdf");
  EXPECT_EQ(fontsOnFirstPage(out), 1u);
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  EXPECT_NE(tools::pdfText(out).find("Summe Grüße Ende"), std::string::npos) << tools::pdfText(out);
}

// Simple fonts whose characters only their embedded program names (a built-in encoding with
// codes of the writer's own, no ToUnicode map): the page reads through the program's glyph names,
// and a replacement whose glyphs the subset holds stays in it.
TEST(PdfBinding, BuiltInEncodingOfAnEmbeddedFontIsRead) {
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string fixture = folder.file("builtin.pdf");
  {
    PoDoFo::PdfMemDocument document(
        (std::string(FONDARIS_SOURCE_DIR) + "/tests/documents/templates/angebot_vl_libreoffice.pdf")
            .c_str());
    for (PoDoFo::PdfObject* object : document.GetObjects())
      if (object->IsDictionary()) object->GetDictionary().RemoveKey("ToUnicode");
    document.Write(fixture.c_str());
  }
  ImportedTemplate t(fixture);
  const std::string before = t.pdf->pageText(1);
  for (const char* text : {"Ihr Berater:", "#VNAnredeName#", "Persönliches Angebot für"})
    EXPECT_NE(before.find(text), std::string::npos) << text << "\n" << before;
  EXPECT_EQ(t.pdf->replaceText(1, "#VM1#", "Ihr Angebot"), kReplaceDone);
  EXPECT_NE(t.pdf->pageText(1).find("Ihr Berater: Ihr Angebot #VM2#"), std::string::npos)
      << t.pdf->pageText(1);
  EXPECT_TRUE(t.errors.empty()) << t.errors.front();
  const std::string out = t.write(folder.file("builtin_aus.pdf"));
  EXPECT_EQ(fontsOnFirstPage(out), 2u);  // the template's regular and bold
}

TEST(PdfBinding, ImportAndDeletePages) {
  auto pdf = PdfBinding::create();
  pdf->createDocument();
  const std::string templatePath = std::string(FONDARIS_BUILD_DIR) + "/Angebot_VL_1.pdf";
  ASSERT_GE(pdf->openImportFile(templatePath), 0);
  EXPECT_EQ(pdf->importPages(1), 3);
  EXPECT_EQ(pdf->importPages(4), 3);
  EXPECT_EQ(pdf->importPages(2), -1);  // only after the last page
  pdf->closeImportFile();
  EXPECT_EQ(pdf->deletePage(4), 1);
  EXPECT_EQ(pdf->deletePage(4), 1);
  EXPECT_EQ(pdf->pageCount(), 4);
  EXPECT_NE(pdf->pageText(4).find("Seite 3 von 3"), std::string::npos);
  EXPECT_EQ(pdf->deletePage(9), kReplacePageMissing);
  EXPECT_DOUBLE_EQ(pdf->pageWidth(), 595);
  EXPECT_DOUBLE_EQ(pdf->pageHeight(), 842);

  EXPECT_LT(pdf->openImportFile("/nonexistent/Angebot.pdf"), 0);
  EXPECT_EQ(pdf->openOutputFile("/nonexistent/folder/out.pdf"), 0);
}

// The program's own drawing on a template page is parsed only when a search could reach into
// it. Whatever a search takes in of the drawn text, from inside one piece or across the gap
// from the template's last text, it is found as when the whole page is read: a reference
// document drawn alike reads its whole text, and a search cut from there must be replaced.
TEST(PdfBinding, SearchesReachTextDrawnOnATemplatePage) {
  const std::string templatePath = std::string(FONDARIS_BUILD_DIR) + "/Angebot_VL_1.pdf";
  const std::vector<std::string> words = {
      "Fondswert",       "Seite",       "von",    "#VM", "1#",          "Pr\u00e4mie",
      "Gr\u00fc\u00dfe", "\u0141ukasz", "12,50",  "EUR", "Treue-bonus", "a\u00a0b",
      "Zu\u00adzahlung", "\u20ac",      "\u2013", "3"};
  // Draws the same six lines on page 1 of a fresh copy of the template for one seed.
  auto drawn = [&](unsigned seed, std::string* templateText) {
    auto pdf = PdfBinding::create();
    pdf->setErrorHandler(0,
                         [](std::intptr_t, int, const std::string&, std::uint32_t) { return 0; });
    pdf->createDocument();
    EXPECT_GE(pdf->openImportFile(templatePath), 0);
    EXPECT_EQ(pdf->importPages(1), 3);
    pdf->closeImportFile();
    if (templateText) *templateText = pdf->pageText(1);
    std::mt19937 random(seed);
    EXPECT_EQ(pdf->editPage(1), 1);
    EXPECT_EQ(pdf->setFont("Arial", false, 9), 1);
    for (int line = 0; line < 6; ++line) {
      std::string text;
      for (int n = 1 + random() % 5; n > 0; --n)
        text += (text.empty() ? "" : " ") + words[random() % words.size()];
      pdf->setTextRect(60 + random() % 200, 300 - 14 * line, 500);
      EXPECT_EQ(pdf->writeFText(TextAlign::Left, text), 1);
    }
    pdf->endPage();
    return pdf;
  };
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::string before;
    const std::u32string whole = decodeUtf8(drawn(seed, &before)->pageText(1));
    const std::size_t templateLength = decodeUtf8(before).size();
    ASSERT_GT(whole.size(), templateLength);
    // From a few characters before the drawn text on, ending inside it, spaces not at the ends.
    std::mt19937 random(seed * 7919);
    std::size_t first = templateLength - 6 + random() % (whole.size() - templateLength + 6);
    std::size_t last = std::min(whole.size(), first + 3 + random() % 18);
    last = std::max(last, templateLength + 1);
    std::u32string search = whole.substr(first, last - first);
    for (char32_t& c : search) c = c == 0xA0 ? U' ' : c == 0xAD ? U'-' : c;
    while (!search.empty() && search.front() == U' ') search.erase(0, 1);
    while (!search.empty() && search.back() == U' ') search.pop_back();
    if (search.empty()) continue;
    std::string utf8;
    for (char32_t c : search) utf8 += encodeUtf8(c);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": '" + utf8 + "'");
    ReplaceCount count;
    EXPECT_EQ(drawn(seed, nullptr)->replaceText(1, utf8, "X", &count), kReplaceDone);
    EXPECT_GE(count.replaced, 1);
  }
}

// Other writers end their page content with the graphics state changed: a flipped page matrix
// (pdftocairo), a q never closed, a Q too many. What the program draws afterwards stands upright
// where it was put, and the page's q/Q stay balanced.
TEST(PdfBinding, DrawingOnATemplatePageStartsFromTheDefaultGraphicsState) {
  if (!tools::toolAvailable("pdftotext") || !tools::toolAvailable("qpdf"))
    GTEST_SKIP() << "poppler-utils or qpdf missing";
  const test_support::TempFolder folder("fondaris_state");
  const std::string dir = folder.str();
  const struct Case {
    std::string name;
    std::string content;
  } cases[] = {
      {"flipped", "1 0 0 -1 0 842 cm 0 0 1 rg"},
      {"open_q", "q 2 0 0 2 0 -842 cm"},
      {"extra_Q", "Q Q 1 0 0 -1 0 842 cm q 0.5 0 0 0.5 0 0 cm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string templatePath = dir + "/" + c.name + ".pdf";
    {
      PoDoFo::PdfMemDocument document;
      PoDoFo::PdfPage* page = document.CreatePage(PoDoFo::PdfRect(0, 0, 595, 842));
      page->GetContents()->GetStream()->Set(c.content.data(),
                                            static_cast<PoDoFo::pdf_long>(c.content.size()));
      document.Write(templatePath.c_str());
    }
    // Bracketed from the text or, when a search has parsed the page already, from the parse.
    for (const bool parsedFirst : {false, true}) {
      SCOPED_TRACE(parsedFirst ? "parsed first" : "drawn first");
      auto pdf = PdfBinding::create();
      pdf->createDocument();
      ASSERT_GE(pdf->openImportFile(templatePath), 0);
      ASSERT_EQ(pdf->importPages(1), 1);
      pdf->closeImportFile();
      if (parsedFirst) {
        EXPECT_EQ(pdf->replaceText(1, "#J#", "12"), kReplaceDone);
      }
      for (int pass = 0; pass < 2; ++pass) {  // the second visit must not nest again
        ASSERT_EQ(pdf->editPage(1), 1);
        ASSERT_EQ(pdf->setFont("Helvetica", false, 12, false), 1);
        pdf->setTextRect(100 + 200 * pass, 842 - 100, 150);
        ASSERT_EQ(pdf->writeFText(TextAlign::Left, pass ? "Zweiter" : "Angebot"), 1);
        pdf->endPage();
        // What was drawn is read by the page's next search.
        ReplaceCount count;
        EXPECT_EQ(
            pdf->replaceText(1, pass ? "Zweiter" : "Angebot", pass ? "Zweiter" : "Angebot", &count),
            kReplaceDone);
        EXPECT_EQ(count.replaced, 1);
      }
      const std::string out = dir + "/" + c.name + (parsedFirst ? "_geparst" : "") + "_aus.pdf";
      ASSERT_NE(pdf->openOutputFile(out), 0);
      ASSERT_GT(pdf->closeFile(), 0);
      EXPECT_TRUE(tools::qpdfClean(out));
      const auto words = tools::pdfWords(out, 1);
      ASSERT_EQ(words.size(), 2u) << tools::pdfText(out);
      for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(words[i].xMin, 100 + 200 * i, 1) << words[i].text;
        EXPECT_GT(words[i].yMin, 95) << words[i].text;  // below the rectangle's top, upright
        EXPECT_LT(words[i].yMax, 120) << words[i].text;
      }
    }
  }
}

// A stroke colour set before a page is edited holds on it; a path needs a page being edited and
// two points.
TEST(PdfBinding, PolylinesAreStrokedInTheirColour) {
  if (!tools::toolAvailable("qpdf")) GTEST_SKIP() << "qpdf missing";
  const test_support::TempFolder folder("fondaris_lines");
  auto pdf = PdfBinding::create();
  pdf->createDocument();
  ASSERT_EQ(pdf->appendPage(595, 842), 1);
  pdf->setStrokeColor(0x0000FF);  // red: the code of "\FC[n]"
  EXPECT_EQ(pdf->polyline({{10, 10}, {20, 30}}), 0);
  ASSERT_EQ(pdf->editPage(1), 1);
  EXPECT_EQ(pdf->polyline({{10, 10}}), 0);
  EXPECT_EQ(pdf->polyline({{10, 10}, {20, 30}, {40, 15}}), 1);
  pdf->setStrokeColor(0xFF0000);
  EXPECT_EQ(pdf->line(0, 0, 5, 5), 1);
  pdf->endPage();
  const std::string out = folder.file("linien.pdf");
  ASSERT_NE(pdf->openOutputFile(out), 0);
  ASSERT_GT(pdf->closeFile(), 0);
  EXPECT_TRUE(tools::qpdfClean(out));
  const std::vector<tools::StrokedPath> expected = {
      {{{10, 10}, {20, 30}, {40, 15}}, {1, 0, 0}},
      {{{0, 0}, {5, 5}}, {0, 0, 1}},
  };
  EXPECT_EQ(tools::strokedPaths(out, 1), expected);
}

// Found by fuzzing: a template page whose content the library cannot parse is reported, and
// writing the document afterwards neither crashes nor loses the page.
TEST(PdfBinding, UnparsablePageContentIsReportedAndTheDocumentStillWritten) {
  const test_support::TempFolder folder("fondaris_pdf");
  const std::string templatePath = folder.file("kaputt.pdf");
  {
    PoDoFo::PdfMemDocument document;
    PoDoFo::PdfPage* page = document.CreatePage(PoDoFo::PdfRect(0, 0, 595, 842));
    page->GetContents()->GetStream()->Set("B\377[", 3);
    document.Write(templatePath.c_str());
  }
  auto pdf = PdfBinding::create();
  int errors = 0;
  pdf->setErrorHandler(0, [&](std::intptr_t, int, const std::string&, std::uint32_t) {
    ++errors;
    return 0;
  });
  pdf->createDocument();
  ASSERT_GE(pdf->openImportFile(templatePath), 0);
  ASSERT_EQ(pdf->importPages(1), 1);
  pdf->closeImportFile();
  pdf->replaceText(1, "HH", "x");
  EXPECT_GT(errors, 0);
  ASSERT_NE(pdf->openOutputFile(folder.file("kaputt_aus.pdf")), 0);
  EXPECT_GT(pdf->closeFile(), 0);
}

}  // namespace
}  // namespace fondaris::documents
