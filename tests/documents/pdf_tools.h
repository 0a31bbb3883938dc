#pragma once

#include <cstdio>
#include <string>

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

}  // namespace fondaris::documents::testing_tools
