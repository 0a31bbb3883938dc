#pragma once

#include <algorithm>
#include <cstdio>
#include <regex>
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

}  // namespace fondaris::documents::testing_tools
