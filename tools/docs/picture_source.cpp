#include "tools/docs/picture_source.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>

#include "core/files.h"

namespace fondaris::tools {

namespace {

void putBigEndian(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void putChunk(std::string& out, const char* type, const std::string& body) {
  putBigEndian(out, static_cast<std::uint32_t>(body.size()));
  const std::string typed = std::string(type, 4) + body;
  out += typed;
  putBigEndian(out, static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
}

bool parseColour(const std::string& text, unsigned char rgb[3]) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (int i = 0; i < 3; ++i) {
    const std::string part = text.substr(1 + 2 * i, 2);
    if (part.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    rgb[i] = static_cast<unsigned char>(std::stoi(part, nullptr, 16));
  }
  return true;
}

std::u32string decodeUtf8(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

std::string fontFile(const std::string& family, bool bold) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (!pattern) return {};
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
    file = reinterpret_cast<const char*>(path);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

struct Canvas {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;

  void blend(int x, int y, const unsigned char colour[3], int alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
    unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    for (int i = 0; i < 3; ++i)
      p[i] = static_cast<unsigned char>((colour[i] * alpha + p[i] * (255 - alpha)) / 255);
  }
};

}  // namespace

std::string pngBytes(int width, int height, const std::vector<unsigned char>& rgb) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (width * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');  // no filter
    raw.append(reinterpret_cast<const char*>(&rgb[static_cast<std::size_t>(y) * width * 3]),
               static_cast<std::size_t>(width) * 3);
  }
  uLongf packedSize = compressBound(raw.size());
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(raw.data()), raw.size(), Z_BEST_COMPRESSION);
  packed.resize(packedSize);

  std::string header;
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bit RGB, no interlace
  std::string out = "\x89PNG\r\n\x1a\n";
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", packed);
  putChunk(out, "IEND", {});
  return out;
}

std::string buildPicture(const std::vector<std::string>& sourceLines, const std::string& sourceName,
                         const std::string& outputPath) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return "FreeType not available";
  std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> libraryOwner(library,
                                                                            FT_Done_FreeType);
  std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> face(nullptr, FT_Done_Face);
  Canvas canvas;
  int lineNumber = 0;
  for (const std::string& line : sourceLines) {
    ++lineNumber;
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command.empty() || command[0] == '#') continue;
    const std::string where = sourceName + ":" + std::to_string(lineNumber) + ": ";
    if (command == "size") {
      if (!(in >> canvas.width >> canvas.height) || canvas.width <= 0 || canvas.height <= 0 ||
          canvas.width > 4000 || canvas.height > 4000)
        return where + "bad size";
      canvas.rgb.assign(static_cast<std::size_t>(canvas.width) * canvas.height * 3, 255);
      continue;
    }
    if (canvas.width == 0) return where + "'size' must come first";
    if (command == "rect") {
      int x = 0, y = 0, w = 0, h = 0;
      std::string colourText;
      unsigned char colour[3];
      if (!(in >> x >> y >> w >> h >> colourText) || !parseColour(colourText, colour))
        return where + "bad rect";
      for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) canvas.blend(col, row, colour, 255);
    } else if (command == "font") {
      std::string family, weight;
      int pixels = 0;
      if (!(in >> family >> weight >> pixels) || pixels <= 0 ||
          (weight != "regular" && weight != "bold"))
        return where + "bad font";
      std::replace(family.begin(), family.end(), '_', ' ');
      const std::string file = fontFile(family, weight == "bold");
      FT_Face loaded = nullptr;
      if (file.empty() || FT_New_Face(library, file.c_str(), 0, &loaded) != 0)
        return where + "no font file for " + family;
      face.reset(loaded);
      FT_Set_Pixel_Sizes(loaded, 0, static_cast<FT_UInt>(pixels));
    } else if (command == "text") {
      int x = 0, baseline = 0;
      std::string colourText;
      unsigned char colour[3];
      const auto open = line.find('"'), close = line.rfind('"');
      if (!(in >> x >> baseline >> colourText) || !parseColour(colourText, colour) || open == close)
        return where + "bad text";
      if (!face) return where + "'font' must come before 'text'";
      int penX = x;
      for (const char32_t c : decodeUtf8(line.substr(open + 1, close - open - 1))) {
        if (FT_Load_Char(face.get(), c, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        for (unsigned row = 0; row < glyph->bitmap.rows; ++row)
          for (unsigned col = 0; col < glyph->bitmap.width; ++col)
            canvas.blend(penX + glyph->bitmap_left + static_cast<int>(col),
                         baseline - glyph->bitmap_top + static_cast<int>(row), colour,
                         glyph->bitmap.buffer[row * glyph->bitmap.pitch + col]);
        penX += static_cast<int>(glyph->advance.x >> 6);
      }
    } else {
      return where + "unknown command '" + command + "'";
    }
  }
  if (canvas.width == 0) return sourceName + ": no 'size'";
  if (!core::writeFileAtomically(outputPath, pngBytes(canvas.width, canvas.height, canvas.rgb)))
    return "cannot write " + outputPath;
  return {};
}

}  // namespace fondaris::tools
