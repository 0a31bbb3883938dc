#pragma once

#include <string>

#include "core/dialogs.h"
#include "engine/projection.h"

namespace fondaris::engine {

// One batch calculation: reads the request file, checks and projects it, writes the result
// file. Returns 0 when the result file was completed (also for a rejected request, whose reason
// stands in "Fehler"), 1 when the parameter file, the request or the result file could not be
// opened. `result` is the caller's, value-initialised.
int runBatchCalculation(ProjectionResult& result, const std::string& programDirectory,
                        const std::string& requestName, const std::string& resultName,
                        core::Dialogs& dialogs);

}  // namespace fondaris::engine
