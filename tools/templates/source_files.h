#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/param_record.h"

namespace fondaris::tools {

// The readable sources the sample document tools build from. Each reader names on standard
// error what it could not read (file, and line for a bad product data line).

// A UTF-8 text source as lines, line ends of any kind.
std::optional<std::vector<std::string>> readSourceLines(const std::string& path);

// The product data record built from its text source (data/param.txt).
std::optional<core::ParamRecord> readProductSource(const std::string& path);

}  // namespace fondaris::tools
