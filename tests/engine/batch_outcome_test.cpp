// What batch mode hands its caller for each outcome: the exit code scripts rely on and the line
// on standard error.
#include <gtest/gtest.h>

#include "engine/batch_entry.h"

namespace fondaris::engine {
namespace {

TEST(BatchOutcome, EachOutcomeKeepsItsExitCodeAndMessage) {
  struct Case {
    BatchOutcome outcome;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {BatchOutcome::Completed, 0, ""},
      {BatchOutcome::ParamUnreadable, 1, "Die Datei 'param.dat' konnte nicht gelesen werden!"},
      {BatchOutcome::RequestUnreadable, 1, "Die Datei 'anfrage.ini' konnte nicht gelesen werden!"},
      {BatchOutcome::ResultNotCreated, 1, "Die Datei 'ergebnis.ini' konnte nicht erzeugt werden!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(batchExitCode(c.outcome), c.exitCode) << c.message;
    EXPECT_EQ(batchMessage(c.outcome, "anfrage.ini", "ergebnis.ini"), c.message);
  }
}

}  // namespace
}  // namespace fondaris::engine
