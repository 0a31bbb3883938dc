#pragma once

#include <string>

#include "core/dialogs.h"
#include "core/param_record.h"

namespace fondaris::core {

// readParamRecord with the fallback folder given instead of the program's folder; the fallback
// becomes the working directory when it is tried. Lets tests place the fallback file.
int readParamRecordFrom(const std::string& directory, const std::string& fallbackDirectory,
                        ParamRecord& out, Dialogs* messages);

}  // namespace fondaris::core
