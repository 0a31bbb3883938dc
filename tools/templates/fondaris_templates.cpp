// Builds the sample offer templates named in the product data from their readable sources.
//   fondaris-templates <param.txt> <source folder> <output folder>
#include <cstdio>

#include "core/files.h"
#include "core/param_source.h"
#include "tools/templates/template_source.h"

namespace {

std::vector<std::string> utf8Lines(const std::string& path, bool& ok) {
  std::vector<std::string> lines;
  const auto bytes = fondaris::core::readFileBytes(path);
  ok = bytes.has_value();
  if (!ok) return lines;
  std::string line;
  for (char c : *bytes) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fondaris;
  if (argc != 4) {
    std::fprintf(stderr, "usage: fondaris-templates <param.txt> <source folder> <output folder>\n");
    return 2;
  }
  const auto paramSource = core::readFileBytes(argv[1]);
  if (!paramSource) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  core::ParamRecord record;
  if (const auto error = core::buildParamRecord(*paramSource, record)) {
    std::fprintf(stderr, "%s:%d: %s\n", argv[1], error->line, error->message.c_str());
    return 1;
  }
  bool ok = false;
  const auto jobs = tools::templateJobs(record);
  if (jobs.empty()) {
    std::fprintf(stderr, "no offer templates named in %s\n", argv[1]);
    return 1;
  }
  for (const auto& job : jobs) {
    const auto source = utf8Lines(core::joinPath(argv[2], job.source), ok);
    if (!ok) {
      std::fprintf(stderr, "cannot read %s\n", core::joinPath(argv[2], job.source).c_str());
      return 1;
    }
    const std::string error =
        tools::buildTemplate(source, job, core::joinPath(argv[3], job.fileName));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", job.fileName.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
