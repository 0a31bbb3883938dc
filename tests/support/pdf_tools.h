#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// Outside readers of the PDFs the tests write (poppler-utils, qpdf).
namespace fondaris::documents::testing_tools {

inline bool toolAvailable(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a command; `status` gets its exit status.
inline std::string run(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int rc = ::pclose(pipe);
  if (status) *status = rc;
  return out;
}

inline std::string quoted(const std::string& path) {
  return "'" + path + "'";
}

// Text of the whole file, or of one page (from 1), in physical layout.
inline std::string pdfText(const std::string& path, int page = 0) {
  std::string range =
      page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : std::string();
  return run("pdftotext -layout" + range + " " + quoted(path) + " -");
}

inline int pdfPages(const std::string& path) {
  const std::string info = run("pdfinfo " + quoted(path));
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

inline bool qpdfClean(const std::string& path) {
  int status = -1;
  run("qpdf --check " + quoted(path), &status);
  return status == 0;
}

// Streams of the file written without a filter (uncompressed), as qpdf lists the objects;
// -1 when qpdf cannot read it.
inline int unfilteredStreams(const std::string& path) {
  int status = -1;
  const std::string json = run("qpdf --json=2 --json-key=qpdf " + quoted(path), &status);
  if (status != 0) return -1;
  int count = 0;
  for (auto at = json.find("\"stream\": {"); at != std::string::npos;
       at = json.find("\"stream\": {", at + 1)) {
    // The stream's dictionary ends where its braces close.
    const auto open = json.find('{', json.find("\"dict\"", at));
    int depth = 0;
    std::size_t end = open;
    for (; end < json.size(); ++end) {
      if (json[end] == '{') ++depth;
      if (json[end] == '}' && --depth == 0) break;
    }
    if (json.substr(open, end - open).find("\"/Filter\"") == std::string::npos) ++count;
  }
  return count;
}

struct Word {
  std::string text;
  double xMin, yMin, xMax, yMax;  // from the top-left corner
};

// The words of one page with their boxes, as pdftotext -bbox sees them.
inline std::vector<Word> pdfWords(const std::string& path, int page) {
  const std::string html = run("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                               std::to_string(page) + " " + quoted(path) + " -");
  static const std::regex word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  std::vector<Word> words;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator();
       ++it) {
    const auto& m = *it;
    words.push_back({m[5].str(), std::stod(m[1].str()), std::stod(m[2].str()),
                     std::stod(m[3].str()), std::stod(m[4].str())});
  }
  return words;
}

// Words on one line whose boxes run into each other, as "a / b".
inline std::vector<std::string> collidingWords(const std::vector<Word>& words) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < words.size(); ++i)
    for (std::size_t j = i + 1; j < words.size(); ++j) {
      const Word& a = words[i];
      const Word& b = words[j];
      const double vertical = std::min(a.yMax, b.yMax) - std::max(a.yMin, b.yMin);
      const double horizontal = std::min(a.xMax, b.xMax) - std::max(a.xMin, b.xMin);
      const double height = std::min(a.yMax - a.yMin, b.yMax - b.yMin);
      if (vertical > 0.5 * height && horizontal > 0.5) out.push_back(a.text + " / " + b.text);
    }
  return out;
}

struct PathPoint {
  double x, y;  // points from the bottom-left corner
  bool operator==(const PathPoint&) const = default;
};

// One path of straight lines as a page's content strokes it, in its stroke colour (0..1 each).
struct StrokedPath {
  std::vector<PathPoint> points;
  std::vector<double> colour;
  bool operator==(const StrokedPath&) const = default;
};

// The paths of "m", "l" and "S" in one page's content streams, read from qpdf's QDF form
// (streams uncompressed, each page's contents marked), in drawing order.
inline std::vector<StrokedPath> strokedPaths(const std::string& path, int page) {
  const std::string qdf = path + ".qdf";
  run("qpdf --qdf --object-streams=disable " + quoted(path) + " " + quoted(qdf));
  std::ifstream in(qdf, std::ios::binary);
  const std::string marker = "%% Contents for page ";
  std::vector<StrokedPath> paths;
  StrokedPath current;
  std::vector<double> colour{0, 0, 0};
  std::vector<double> operands;
  bool pageContents = false, inStream = false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(marker, 0) == 0) {
      pageContents = std::stoi(line.substr(marker.size())) == page;
      continue;
    }
    if (!pageContents) continue;
    if (line == "stream" || line == "endstream") {
      inStream = line == "stream";
      pageContents = inStream;
      continue;
    }
    if (!inStream) continue;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
      char* end = nullptr;
      const double value = std::strtod(word.c_str(), &end);
      if (end && *end == '\0' && end != word.c_str()) {
        operands.push_back(value);
        continue;
      }
      if (word == "RG" && operands.size() == 3) {
        colour = operands;
      } else if (word == "m" && operands.size() == 2) {
        current = {{{operands[0], operands[1]}}, colour};
      } else if (word == "l" && operands.size() == 2) {
        current.points.push_back({operands[0], operands[1]});
      } else if (word == "S" && !current.points.empty()) {
        paths.push_back(current);
        current = {};
      }
      operands.clear();
    }
  }
  return paths;
}

}  // namespace fondaris::documents::testing_tools
