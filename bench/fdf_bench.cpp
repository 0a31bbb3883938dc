#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench_folder.h"
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

void BM_FdfBytes(benchmark::State& state) {
  const auto data = fullApplication();
  for (auto _ : state) benchmark::DoNotOptimize(documents::fdfBytes(data));
}
BENCHMARK(BM_FdfBytes);

// The forms-data file and the filled seven-page application written, from the sample form
// beside the program.
void BM_FormsDataWithFilledPdf(benchmark::State& state) {
  const auto data = fullApplication();
  const std::filesystem::path& folder = bench::privateFolder();
  if (folder.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string fdf = (folder / "VVSpar.fdf").string();
  const std::string form = core::joinPath(core::programDirectory(), "FQ-VL-Antrag.pdf");
  if (documents::writeFormsData(fdf, data, form).pdf.result !=
      documents::FilledFormResult::Written) {
    state.SkipWithError("form not filled (sample form missing?)");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(documents::writeFormsData(fdf, data, form));
}
BENCHMARK(BM_FormsDataWithFilledPdf)->Unit(benchmark::kMillisecond);

}  // namespace
