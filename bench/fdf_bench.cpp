#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/files.h"
#include "documents/fdf/filled_form.h"

namespace {

using namespace fondaris;

// VVSpar as "&Weiter" writes it: every field of the table with a German text or a choice.
documents::FdfData fullApplication() {
  documents::FdfData data;
  data.formReference = core::joinPath(core::programDirectory(), "FQ-VL-Antrag.pdf");
  for (const auto& field :
       documents::fdfFields(documents::FdfFile::VVSpar, documents::FdfVariant::Vl)) {
    if (field.kind == documents::FdfFieldKind::Choice)
      data.entries.push_back(
          {std::string(field.name), documents::fdfExportValues(field).front(), field.kind});
    else
      data.entries.push_back({std::string(field.name), "Müller-Lüdenscheidt (Straße 5 €)"});
  }
  return data;
}

std::string benchFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  const auto folder = base / "fondaris_fdf_bench";
  std::filesystem::create_directories(folder);
  return folder.string();
}

void BM_FdfBytes(benchmark::State& state) {
  const auto data = fullApplication();
  for (auto _ : state) benchmark::DoNotOptimize(documents::fdfBytes(data));
}
BENCHMARK(BM_FdfBytes);

// The forms-data file and the filled seven-page application written, from the sample form
// beside the program.
void BM_FormsDataWithFilledPdf(benchmark::State& state) {
  const auto data = fullApplication();
  const std::string fdf = core::joinPath(benchFolder(), "VVSpar.fdf");
  const std::string form = core::joinPath(core::programDirectory(), "FQ-VL-Antrag.pdf");
  for (auto _ : state) {
    const auto result = documents::writeFormsData(fdf, data, form);
    if (result.pdf.result != documents::FilledFormResult::Written) {
      state.SkipWithError("form not filled");
      break;
    }
  }
}
BENCHMARK(BM_FormsDataWithFilledPdf)->Unit(benchmark::kMillisecond);

}  // namespace
