// Builds the sample documents the product data name besides the offer templates: the strategy
// information documents and the start picture, each from a readable source.
//   fondaris-docs <param.txt> <source folder> <output folder>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "core/files.h"
#include "tools/docs/picture_source.h"
#include "tools/templates/template_source.h"

namespace {

using fondaris::core::joinPath;

std::optional<std::vector<std::string>> utf8Lines(const std::string& path) {
  const auto bytes = fondaris::core::readFileBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(*bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// One information document per name, described by the first strategy that names it.
std::vector<fondaris::tools::TemplateJob> infoJobs(const std::vector<std::string>& params) {
  static const std::regex kField(
      R"(^\s*(vl|ziel)Strategy\[(\d+)\]\.(infoDocument|name|listName|extraText)\s*=\s*\"(.*)\")");
  std::map<std::pair<std::string, int>, std::map<std::string, std::string>> strategies;
  for (const std::string& line : params) {
    std::smatch m;
    if (std::regex_search(line, m, kField))
      strategies[{m[1].str() == "vl" ? "0" : "1", std::stoi(m[2].str())}][m[3].str()] = m[4].str();
  }
  std::vector<fondaris::tools::TemplateJob> jobs;
  std::set<std::string> done;
  for (auto& [key, fields] : strategies) {
    const std::string& name = fields["infoDocument"];
    if (name.empty() || !done.insert(name).second) continue;
    fondaris::tools::TemplateJob job;
    job.fileName = name;
    job.source = "info_fonds.txt";
    job.values["{Strategie}"] = fields["listName"].empty() ? fields["name"] : fields["listName"];
    job.values["{Risikoklasse}"] = fields["extraText"];
    job.values["{Dokument}"] = name;
    jobs.push_back(std::move(job));
  }
  return jobs;
}

std::string startPictureName(const std::vector<std::string>& params) {
  static const std::regex kField(R"(^\s*startPicture\s*=\s*\"(.*)\")");
  for (const std::string& line : params) {
    std::smatch m;
    if (std::regex_search(line, m, kField)) return m[1].str();
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fondaris;
  if (argc != 4) {
    std::fprintf(stderr, "usage: fondaris-docs <param.txt> <source folder> <output folder>\n");
    return 2;
  }
  const auto params = utf8Lines(argv[1]);
  if (!params) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  auto source = [&](const std::string& name) {
    auto lines = utf8Lines(joinPath(argv[2], name));
    if (!lines) std::fprintf(stderr, "cannot read %s\n", joinPath(argv[2], name).c_str());
    return lines;
  };

  const auto jobs = infoJobs(*params);
  const auto info = source("info_fonds.txt");
  if (!info) return 1;
  for (const auto& job : jobs) {
    const std::string error = tools::buildTemplate(*info, job, joinPath(argv[3], job.fileName));
    if (!error.empty()) {
      std::fprintf(stderr, "%s: %s\n", job.fileName.c_str(), error.c_str());
      return 1;
    }
  }

  const std::string picture = startPictureName(*params);
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
