#pragma once

#include <string>
#include <string_view>

namespace fondaris::documents {

struct FontChoice {
  std::string family;
  bool bold = false;
  bool italic = false;
};

// The font file fontconfig picks for a family and style ("Arial" resolves to Liberation Sans,
// metric-compatible); empty when none is installed.
std::string resolveFontFile(std::string_view family, bool bold, bool italic);

// The font used for a replacement when the page's own font cannot take it: Times names become
// "Times New Roman", fixed-pitch fonts "Courier New", everything else "Arial"; a style after a
// comma in the name ("Bold", "Italic", "BoldItalic") is kept.
FontChoice fallbackFont(std::string_view baseFontName, bool fixedPitch);

// True for the fourteen standard PDF fonts that need no embedding ("Helvetica", "Times-Bold" ...).
bool isStandardFont(std::string_view name);

}  // namespace fondaris::documents
