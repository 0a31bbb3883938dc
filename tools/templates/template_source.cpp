#include "tools/templates/template_source.h"

#include <sstream>

#include "core/german.h"
#include "core/param_layout.h"
#include "documents/pdf/pdf_binding.h"

namespace fondaris::tools {

std::vector<TemplateJob> templateJobs(const core::ParamRecord& record) {
  struct Table {
    const core::ParamField& offerTemplate;
    const core::ParamField& name;
    const core::ParamField& listName;
    const core::ParamField& extraText;
    const char* source;
  };
  const Table tables[] = {
      {core::paramField("vlStrategy.offerTemplate"), core::paramField("vlStrategy.name"),
       core::paramField("vlStrategy.listName"), core::paramField("vlStrategy.extraText"),
       "angebot_vl.txt"},
      {core::paramField("zielStrategy.offerTemplate"), core::paramField("zielStrategy.name"),
       core::paramField("zielStrategy.listName"), core::paramField("zielStrategy.extraText"),
       "angebot_zs.txt"},
  };
  std::vector<TemplateJob> jobs;
  for (const Table& table : tables) {
    for (std::size_t i = 0; i < table.offerTemplate.count; ++i) {
      const std::string name = core::paramText(record, table.offerTemplate, i);
      if (name.empty()) continue;
      const std::string strategy = core::paramText(record, table.name, i);
      const std::string listName = core::paramText(record, table.listName, i);
      TemplateJob job;
      job.fileName = name;
      job.source = table.source;
      job.values["{Strategie}"] = listName.empty() ? strategy : listName;
      job.values["{StrategieLang}"] = strategy;
      job.values["{Risikoklasse}"] = core::paramText(record, table.extraText, i);
      job.values["{Vorlage}"] = name;
      jobs.push_back(std::move(job));
    }
  }
  return jobs;
}

namespace {

// Ascent of the program's font per point of size: template texts are placed by it.
double programAscentPerPoint() {
  static const double ascent = [] {
    auto pdf = documents::PdfBinding::create();
    if (!pdf) return 0.0;
    pdf->createDocument();
    if (!pdf->setFont("Arial", false, 1000)) return 0.0;
    return pdf->fontAscent() / 1000;
  }();
  return ascent;
}

std::string substitute(std::string text, const TemplateJob& job) {
  for (const auto& [key, value] : job.values) text = core::replaceText(text, key, value, true);
  return text;
}

}  // namespace

std::string buildTemplate(const std::vector<std::string>& sourceLines, const TemplateJob& job,
                          const std::string& outputPath) {
  auto pdf = documents::PdfBinding::create();
  if (!pdf) return "PDF library not available";
  std::string failure;
  pdf->setErrorHandler(
      0, [&failure](std::intptr_t, int, const std::string& message, std::uint32_t type) {
        failure += documents::pdfErrorLine(type, message).text;
        return 0;
      });
  pdf->createDocument();
  pdf->setDocInfo(documents::DocInfo::Creator, "fondaris-templates");
  pdf->setDocInfo(documents::DocInfo::Title,
                  job.title.empty() ? "Angebotsvorlage " + job.fileName : job.title);
  constexpr double kWidth = 595.0, kHeight = 842.0;
  double fontSize = 0;
  int lineNumber = 0;
  for (const std::string& raw : sourceLines) {
    ++lineNumber;
    const std::string line = substitute(raw, job);
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command.empty() || command[0] == '#') continue;
    const std::string where = job.source + ":" + std::to_string(lineNumber) + ": ";
    if (command == "page") {
      pdf->endPage();
      pdf->editPage(pdf->appendPage(kWidth, kHeight));
    } else if (command == "font") {
      std::string name;
      double size = 0;
      if (!(in >> name >> size) || !pdf->setFont(name, false, size, false))
        return where + "bad font";
      fontSize = size;
    } else if (command == "text") {
      double x = 0, distance = 0, width = 0;
      std::string align;
      const auto open = line.find('"'), close = line.rfind('"');
      if (!(in >> x >> distance >> width >> align) || open == close)
        return where + "expected: text <x> <distance> <width> <L|R|C> \"...\"";
      // The baseline where the program's text at this distance and size would have its own.
      const double top =
          kHeight - distance - programAscentPerPoint() * fontSize + pdf->fontAscent();
      pdf->setTextRect(x, top, width);
      const auto a = align == "R"   ? documents::TextAlign::Right
                     : align == "C" ? documents::TextAlign::Center
                                    : documents::TextAlign::Left;
      if (!pdf->writeFText(a, line.substr(open + 1, close - open - 1)))
        return where + "text outside a page";
    } else if (command == "line") {
      double x1 = 0, d1 = 0, x2 = 0, d2 = 0;
      if (!(in >> x1 >> d1 >> x2 >> d2)) return where + "expected: line <x1> <d1> <x2> <d2>";
      pdf->setLineWidth(0.5);
      pdf->line(x1, kHeight - d1, x2, kHeight - d2);
    } else {
      return where + "unknown command " + command;
    }
  }
  pdf->endPage();
  if (!pdf->openOutputFile(outputPath) || pdf->closeFile() <= 0)
    return failure.empty() ? "cannot write " + outputPath : failure;
  return failure;
}

}  // namespace fondaris::tools
