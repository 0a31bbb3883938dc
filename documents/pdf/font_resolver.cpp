#include "documents/pdf/font_resolver.h"

#include <array>
#include <mutex>

#include <fontconfig/fontconfig.h>

namespace fondaris::documents {

std::string resolveFontFile(std::string_view family, bool bold, bool italic) {
  static std::mutex mutex;  // fontconfig's default configuration is shared
  std::lock_guard lock(mutex);
  if (!FcInit()) return {};
  const std::string name(family);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
      file = reinterpret_cast<const char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

FontChoice fallbackFont(std::string_view baseFontName, bool fixedPitch) {
  // Embedded subsets carry a six-letter tag: "ABCDEF+Times-Roman".
  if (baseFontName.size() > 7 && baseFontName[6] == '+') baseFontName.remove_prefix(7);
  FontChoice choice;
  if (startsWith(baseFontName, "Times-Roman") || startsWith(baseFontName, "Times Roman")) {
    choice.family = "Times New Roman";
  } else if (startsWith(baseFontName, "Times-Bold") || startsWith(baseFontName, "Times Bold")) {
    choice.family = "Times New Roman";
    choice.bold = true;
  } else if (fixedPitch) {
    choice.family = "Courier New";
  } else {
    choice.family = "Arial";
  }
  const auto comma = baseFontName.find(',');
  if (comma != std::string_view::npos) {
    const std::string_view style = baseFontName.substr(comma + 1);
    if (style == "BoldItalic") {
      choice.bold = choice.italic = true;
    } else if (style == "Italic") {
      choice.italic = true;
    } else if (style == "Bold") {
      choice.bold = true;
    }
  }
  return choice;
}

std::string standardTwin(std::string_view family, bool bold, bool italic) {
  struct Twin {
    std::string_view family, standard, boldSuffix, italicSuffix, bothSuffix;
  };
  static const std::array<Twin, 3> kTwins{{
      {"Arial", "Helvetica", "-Bold", "-Oblique", "-BoldOblique"},
      {"Times New Roman", "Times", "-Bold", "-Italic", "-BoldItalic"},
      {"Courier New", "Courier", "-Bold", "-Oblique", "-BoldOblique"},
  }};
  for (const Twin& twin : kTwins) {
    if (twin.family != family) continue;
    std::string name(twin.standard);
    if (bold && italic) return name + std::string(twin.bothSuffix);
    if (bold) return name + std::string(twin.boldSuffix);
    if (italic) return name + std::string(twin.italicSuffix);
    return twin.standard == "Times" ? name + "-Roman" : name;
  }
  return {};
}

bool isStandardFont(std::string_view name) {
  static const std::array<std::string_view, 14> kNames{
      "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
      "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
      "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
      "Symbol",      "ZapfDingbats"};
  for (auto n : kNames)
    if (n == name) return true;
  return false;
}

}  // namespace fondaris::documents
