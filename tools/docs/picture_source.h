#pragma once

#include <string>
#include <vector>

namespace fondaris::tools {

// Draws a picture source into a PNG file. Source lines:
//   size <width> <height>                    first: the picture in pixels, white
//   rect <x> <y> <width> <height> <#rrggbb>  a filled rectangle
//   font <family> <regular|bold> <pixels>    the font of the following texts (fontconfig family,
//                                            "_" for a blank)
//   text <x> <baseline> <#rrggbb> "<text>"   UTF-8
// Blank lines and lines starting with "#" are skipped. Answers an error text, empty on success;
// the file is written only when the whole picture could be drawn.
std::string buildPicture(const std::vector<std::string>& sourceLines, const std::string& sourceName,
                         const std::string& outputPath);

// The PNG file of an RGB picture, rows top down, three bytes a pixel.
std::string pngBytes(int width, int height, const std::vector<unsigned char>& rgb);

}  // namespace fondaris::tools
