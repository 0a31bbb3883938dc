#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/param_record.h"

namespace fondaris::tools {

// One offer template to build: its file name and the texts its source leaves open.
struct TemplateJob {
  std::string fileName;                       // "Angebot_VL_1.pdf"
  std::string source;                         // "angebot_vl.txt" or "angebot_zs.txt"
  std::map<std::string, std::string> values;  // "{Strategie}" -> "Chance"
  std::string title;                          // the document's title; empty: "Angebotsvorlage …"
};

// The offer templates named in the strategy tables of the product data.
std::vector<TemplateJob> templateJobs(const core::ParamRecord& record);

// Draws one template source into a PDF file. Source lines (distances from the page top; a text
// stands on the baseline the program's Arial of the same size would have at that distance):
//   page                                   starts an A4 page
//   font <name> <size>                     a standard font: Helvetica, Helvetica-Bold ...
//   text <x> <distance> <width> <L|R|C> "<text>"   wrapped at the width
//   line <x1> <distance1> <x2> <distance2>
// Blank lines and lines starting with "#" are skipped. Answers an error text, empty on success.
std::string buildTemplate(const std::vector<std::string>& sourceLines, const TemplateJob& job,
                          const std::string& outputPath);

}  // namespace fondaris::tools
