// Builds the sample fillable PDF forms named in the product data from their readable sources.
//   fondaris-forms <param.txt> <source folder> <output folder>
#include <cstdio>

#include "core/files.h"
#include "tools/forms/form_source.h"

int main(int argc, char** argv) {
  using namespace fondaris;
  if (argc != 4) {
    std::fprintf(stderr, "usage: fondaris-forms <param.txt> <source folder> <output folder>\n");
    return 2;
  }
  const auto params = tools::readSourceLines(argv[1]);
  if (!params) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const auto jobs = tools::formJobs(*params);
  if (jobs.empty()) {
    std::fprintf(stderr, "no PDF forms named in %s\n", argv[1]);
    return 1;
  }
  for (const auto& job : jobs) {
    const std::string sourcePath = core::joinPath(argv[2], job.source);
    const auto source = tools::readSourceLines(sourcePath);
    if (!source) {
      std::fprintf(stderr, "cannot read %s\n", sourcePath.c_str());
      return 1;
    }
    const std::string error = tools::buildForm(*source, job, core::joinPath(argv[3], job.fileName));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", job.fileName.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
