#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/bench_folder.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/shell.h"
#include "documents/offer/offer_document.h"
#include "engine/projection.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace {

using namespace fondaris;

// One offer of 60 years (continuation, annuity and chart pages: six in all, five before the
// chart) from create to the file written, with the sample template beside the program.
void BM_FivePageOffer(benchmark::State& state) {
  const std::filesystem::path folder = bench::privateFolder() / "offer";
  std::error_code error;
  // The library calls the benchmark more than once: the folder of an earlier call is fine.
  std::filesystem::create_directories(folder, error);
  if (bench::privateFolder().empty() || error) {
    state.SkipWithError("no temporary folder");
    return;
  }
  ::setenv("TMP", folder.c_str(), 1);
  auto result = std::make_unique<engine::ProjectionResult>();
  engine::DriverInput driver;
  driver.contract.contributionYears = 60;
  driver.contract.investmentYears = 60;
  driver.contract.monthlyContribution = 100;
  driver.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
  engine::project(*result, driver);

  documents::OfferDocumentInput in;
  in.templateName = "Angebot_ZS_1.pdf";
  in.programVersion = "1.0.0";
  in.agentLines = {"Muster Finanz GmbH", "Erika Beispiel", "Hauptstraße 1", "12345 Musterstadt"};
  in.customerName = "Jörg Müller";
  in.contributionA = in.contributionB = 100;
  in.contributionYears = in.termYears = 60;
  in.startMonth = 3;
  in.startYear = 2026;
  in.growthRates = {"3", "6", "9", "12"};

  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock(2026, 3, 5);
  test_support::RecordingShell shell;
  auto write = [&] {
    documents::OfferDocument document(dialogs, clock, shell);
    return document.writeBody(in, *result, *result) && document.finish();
  };
  if (!write()) {
    state.SkipWithError("offer not written (template missing?)");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(write());
}
BENCHMARK(BM_FivePageOffer)->Unit(benchmark::kMillisecond);

}  // namespace
