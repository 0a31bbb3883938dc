#pragma once

#include <string>

#include "core/param_record.h"

namespace fondaris::core {

// readParamRecord and settleProductDataFolder with the fallback folder given instead of the
// program's folder. Lets tests place the fallback file.
[[nodiscard]] ParamReadResult readParamRecordFrom(const std::string& directory,
                                                  const std::string& fallbackDirectory,
                                                  ParamRecord& out);
void settleProductDataFolderFrom(const std::string& fallbackDirectory);

}  // namespace fondaris::core
