// Builds the sample documents the product data name besides the offer templates: the strategy
// information documents and the start picture, each from a readable source.
//   fondaris-docs <param.txt> <source folder> <output folder>
#include <cstdio>
#include <optional>
#include <set>

#include "core/files.h"
#include "core/param_layout.h"
#include "tools/docs/picture_source.h"
#include "tools/templates/source_files.h"
#include "tools/templates/template_source.h"

namespace {

using fondaris::core::joinPath;

// One information document per name, described by the first strategy that names it.
std::vector<fondaris::tools::TemplateJob> infoJobs(const fondaris::core::ParamRecord& record) {
  using fondaris::core::paramField;
  using fondaris::core::paramText;
  struct Table {
    const fondaris::core::ParamField& infoDocument;
    const fondaris::core::ParamField& name;
    const fondaris::core::ParamField& listName;
    const fondaris::core::ParamField& extraText;
  };
  const Table tables[] = {
      {paramField("vlStrategy.infoDocument"), paramField("vlStrategy.name"),
       paramField("vlStrategy.listName"), paramField("vlStrategy.extraText")},
      {paramField("zielStrategy.infoDocument"), paramField("zielStrategy.name"),
       paramField("zielStrategy.listName"), paramField("zielStrategy.extraText")},
  };
  std::vector<fondaris::tools::TemplateJob> jobs;
  std::set<std::string> done;
  for (const Table& table : tables) {
    for (std::size_t i = 0; i < table.infoDocument.count; ++i) {
      const std::string name = paramText(record, table.infoDocument, i);
      if (name.empty() || !done.insert(name).second) continue;
      const std::string listName = paramText(record, table.listName, i);
      fondaris::tools::TemplateJob job;
      job.fileName = name;
      job.source = "info_fonds.txt";
      job.values["{Strategie}"] = listName.empty() ? paramText(record, table.name, i) : listName;
      job.values["{Risikoklasse}"] = paramText(record, table.extraText, i);
      job.values["{Dokument}"] = name;
      job.title = "Strategieinformation " + job.values["{Strategie}"];
      jobs.push_back(std::move(job));
    }
  }
  return jobs;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fondaris;
  if (argc != 4) {
    std::fprintf(stderr, "usage: fondaris-docs <param.txt> <source folder> <output folder>\n");
    return 2;
  }
  const auto record = tools::readProductSource(argv[1]);
  if (!record) return 1;
  auto source = [&](const std::string& name) {
    return tools::readSourceLines(joinPath(argv[2], name));
  };

  const auto jobs = infoJobs(*record);
  const auto info = source("info_fonds.txt");
  if (!info) return 1;
  for (const auto& job : jobs) {
    const std::string error = tools::buildTemplate(*info, job, joinPath(argv[3], job.fileName));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", job.fileName.c_str(), error.c_str());
      return 1;
    }
  }

  const std::string picture = core::paramText(*record, core::paramField("startPicture"));
  if (!picture.empty()) {
    const auto lines = source("startbild.txt");
    if (!lines) return 1;
    const std::string error =
        tools::buildPicture(*lines, "startbild.txt", joinPath(argv[3], picture));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", picture.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
