#include "tests/support/template_fixture.h"

#include <algorithm>

#include "tools/templates/source_files.h"
#include "tools/templates/template_source.h"

namespace fondaris::test_support {

bool writeTemplateWithout(const std::vector<std::string>& texts, const std::string& outputPath) {
  auto lines = tools::readSourceLines(FONDARIS_SOURCE_DIR "/data/templates/angebot_vl.txt");
  if (!lines) return false;
  lines->erase(std::remove_if(lines->begin(), lines->end(),
                              [&](const std::string& line) {
                                return std::any_of(texts.begin(), texts.end(),
                                                   [&](const std::string& text) {
                                                     return line.find(text) != std::string::npos;
                                                   });
                              }),
               lines->end());
  tools::TemplateJob job;
  job.fileName = "Angebot_ohne.pdf";
  job.source = "angebot_vl.txt";
  return tools::buildTemplate(*lines, job, outputPath).empty();
}

}  // namespace fondaris::test_support
