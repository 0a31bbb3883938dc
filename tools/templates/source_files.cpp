#include "tools/templates/source_files.h"

#include <cstdio>

#include "core/files.h"
#include "core/param_source.h"

namespace fondaris::tools {

std::optional<std::vector<std::string>> readSourceLines(const std::string& path) {
  const auto bytes = core::readFileBytes(path);
  if (!bytes) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  std::vector<std::string> lines;
  for (std::string_view line : core::splitLines(*bytes)) lines.emplace_back(line);
  return lines;
}

std::optional<core::ParamRecord> readProductSource(const std::string& path) {
  const auto source = core::readFileBytes(path);
  if (!source) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  core::ParamRecord record;
  if (const auto error = core::buildParamRecord(*source, record)) {
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), error->line, error->message.c_str());
    return std::nullopt;
  }
  return record;
}

}  // namespace fondaris::tools
