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
// metric-compatible); empty when none is installed. Initialises fontconfig on the first call.
std::string resolveFontFile(std::string_view family, bool bold, bool italic);

// The font used for a replacement when the page's own font cannot take it: Times names become
// "Times New Roman", fixed-pitch fonts "Courier New", everything else "Arial"; a style after a
// comma in the name ("Bold", "Italic", "BoldItalic") is kept.
FontChoice fallbackFont(std::string_view baseFontName, bool fixedPitch);

// The standard PDF font whose metrics a family shares, for its style: "Arial" is Helvetica,
// "Times New Roman" Times, "Courier New" Courier ("Helvetica-BoldOblique" ...). Empty for any
// other family. Such a font needs no font file, so no font configuration is read for it.
std::string standardTwin(std::string_view family, bool bold, bool italic);

// True for the fourteen standard PDF fonts that need no embedding ("Helvetica", "Times-Bold" ...).
bool isStandardFont(std::string_view name);

}  // namespace fondaris::documents
