#pragma once

#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/param_record.h"
#include "engine/projection.h"

namespace fondaris::engine {

// Files an output must never replace: the product data in `programDirectory`, every file they
// name (bank data, templates, documents, forms) and `programFiles`.
std::vector<std::string> protectedFiles(const std::string& programDirectory,
                                        const core::ParamRecord& param,
                                        const std::vector<std::string>& programFiles);

// How a batch calculation ended. A rejected request still completes: its reason stands in the
// result file's "Fehler".
enum class BatchOutcome { Completed, ParamUnreadable, RequestUnreadable, ResultNotCreated };

// What the caller sees of an outcome: the exit code, and the line for standard error (empty
// for a completed calculation).
int batchExitCode(BatchOutcome outcome);
std::string batchMessage(BatchOutcome outcome, const std::string& requestName,
                         const std::string& resultName);

// One batch calculation: reads the request file, checks and projects it, writes the result
// file. The product data reader reports its own findings through `dialogs`.
[[nodiscard]] BatchOutcome runBatch(ProjectionResult& result, const std::string& programDirectory,
                                    const std::string& requestName, const std::string& resultName,
                                    core::Dialogs& dialogs,
                                    const std::vector<std::string>& programFiles = {});

// runBatch with its message shown through `dialogs`. Returns 0 when the result file was completed
// (also for a rejected request, whose reason stands in "Fehler"), 1 when the parameter file, the
// request or the result file could not be opened or the result would replace the product data, a
// file they name or one of `programFiles` (the program itself; compared by file identity, not by
// name). `result` is the caller's, value-initialised.
int runBatchCalculation(ProjectionResult& result, const std::string& programDirectory,
                        const std::string& requestName, const std::string& resultName,
                        core::Dialogs& dialogs, const std::vector<std::string>& programFiles = {});

}  // namespace fondaris::engine
