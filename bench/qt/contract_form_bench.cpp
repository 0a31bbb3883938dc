// The contract form's live recalculation: one contribution change headless, and one key typed
// into the contribution field of the real view offscreen, up to the repainted window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <filesystem>
#include <memory>

#include "bench/bench_folder.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/notation.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_shell.h"

namespace {

namespace fs = std::filesystem;
using namespace fondaris;

// Dialogs that answer every question with No and forget what they showed.
class SilentDialogs final : public core::Dialogs {
 public:
  void message(std::string_view, std::string_view) override {}
  bool askYesNo(std::string_view, std::string_view) override { return false; }
  std::optional<std::string> inputText(std::string_view, std::string_view,
                                       std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> openFileName(std::string_view, std::string_view,
                                          std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFileName(std::string_view, std::string_view, std::string_view,
                                          std::string_view) override {
    return std::nullopt;
  }
};

// An app on the sample product data with the customer handed over to the contract form.
struct Session {
  explicit Session(forms::Presenter* presenter = nullptr) {
    folder = bench::privateFolder() / "contract";
    std::error_code error;
    fs::remove_all(folder, error);
    ready = !bench::privateFolder().empty() && fs::create_directories(folder, error) &&
            fs::copy_file(fs::path(FONDARIS_BUILD_DIR) / "Param.dat", folder / "Param.dat", error);
    if (!ready) return;
    core::setWorkingDirectory(folder.string());
    core::notation() = core::Notation::german();
    app = std::make_unique<program::App>(program::Services{dialogs, clock, shell}, presenter);
    app->createForms();
  }
  void handOver(bool secondVariant) {
    forms::TfrmAngebotsdaten& customer = *app->frmAngebotsdaten;
    customer.rbProd.setChecked(!secondVariant);
    customer.rbProd1.setChecked(secondVariant);
    customer.edVN_Nachname.setText("Muster");
    customer.show();
    customer.sb_Angebotsbrechnung.userClick();
  }
  ~Session() {
    if (app) app->setPresenter(nullptr);
    app.reset();
    std::error_code error;
    fs::remove_all(folder, error);
  }

  bool ready = false;  // the private folder with the product data is there
  fs::path folder;
  SilentDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  std::unique_ptr<program::App> app;
};

// The eight per-rate runs and the result fields.
void BM_ContractIllustration(benchmark::State& state) {
  Session session;
  if (!session.ready) {
    state.SkipWithError("no folder with Param.dat");
    return;
  }
  session.handOver(state.range(0) == 1);
  forms::TfrmVertagsdaten& form = *session.app->frmVertagsdaten;
  for (auto _ : state) form.illustrate();
}
BENCHMARK(BM_ContractIllustration)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("second")
    ->Unit(benchmark::kMicrosecond);

// A contribution entered and checked, with everything its handler recomputes.
void BM_ContractContributionChange(benchmark::State& state) {
  const bool second = state.range(0) == 1;
  Session session;
  if (!session.ready) {
    state.SkipWithError("no folder with Param.dat");
    return;
  }
  session.handOver(second);
  forms::TfrmVertagsdaten& form = *session.app->frmVertagsdaten;
  forms::ComboBoxInc& box = second ? form.cb_Beitrag_2 : form.cb_Beitrag_1;
  int i = 0;
  for (auto _ : state) {
    box.setText(++i % 2 ? "60" : "70");
    box.OnKeyPressEnter(&box);
  }
}
BENCHMARK(BM_ContractContributionChange)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("second")
    ->Unit(benchmark::kMicrosecond);

QApplication& application() {
  static int argc = 1;
  static char name[] = "fondaris_form_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// One key released in the contribution box of the real view, up to the repainted window: a
// digit (incremental search and the refresh) and Enter (the whole check and recalculation).
// `full` repaints the whole window; otherwise Qt paints what the key changed, as on screen.
void BM_ContractKeyToRepaint(benchmark::State& state) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  application();
  qt::QtPresenter presenter;
  Session session(&presenter);
  if (!session.ready) {
    state.SkipWithError("no folder with Param.dat");
    return;
  }
  if (!qt::addViews(*session.app, presenter).isEmpty()) {
    state.SkipWithError("views do not fit their forms");
    return;
  }
  session.handOver(true);
  QWidget* view = presenter.view(*session.app->frmVertagsdaten);
  auto* box = view->findChild<QComboBox*>("cb_Beitrag_2");
  view->show();
  box->setFocus();
  QApplication::processEvents();
  const Qt::Key key = state.range(0) == 1 ? Qt::Key_Return : Qt::Key_5;
  const bool full = state.range(1) == 1;
  for (auto _ : state) {
    state.PauseTiming();
    box->setEditText("10");
    state.ResumeTiming();
    QTest::keyClick(box, key);
    if (full)
      view->repaint();
    else
      QApplication::processEvents();
  }
}
BENCHMARK(BM_ContractKeyToRepaint)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"enter", "full"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
