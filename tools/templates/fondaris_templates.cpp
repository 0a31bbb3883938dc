// Builds the sample offer templates named in the product data from their readable sources.
//   fondaris-templates <param.txt> <source folder> <output folder>
#include <cstdio>

#include "core/files.h"
#include "tools/templates/source_files.h"
#include "tools/templates/template_source.h"

int main(int argc, char** argv) {
  using namespace fondaris;
  if (argc != 4) {
    std::fprintf(stderr, "usage: fondaris-templates <param.txt> <source folder> <output folder>\n");
    return 2;
  }
  const auto record = tools::readProductSource(argv[1]);
  if (!record) return 1;
  const auto jobs = tools::templateJobs(*record);
  if (jobs.empty()) {
    std::fprintf(stderr, "no offer templates named in %s\n", argv[1]);
    return 1;
  }
  for (const auto& job : jobs) {
    const auto source = tools::readSourceLines(core::joinPath(argv[2], job.source));
    if (!source) return 1;
    const std::string error =
        tools::buildTemplate(*source, job, core::joinPath(argv[3], job.fileName));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", job.fileName.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
