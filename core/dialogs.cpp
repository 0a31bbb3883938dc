#include "core/dialogs.h"

#include <cstdio>

namespace fondaris::core {

namespace {
void writeLine(std::string_view caption, std::string_view text) {
  // One line per message, so a calling script can read standard error line by line.
  std::string line;
  line.reserve(caption.size() + text.size() + 3);
  line.append(caption).append(": ");
  for (char c : text) line.push_back(c == '\n' || c == '\r' ? ' ' : c);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}
}  // namespace

void StderrDialogs::message(std::string_view text, std::string_view caption) {
  writeLine(caption, text);
}

bool StderrDialogs::askYesNo(std::string_view text, std::string_view caption) {
  writeLine(caption, text);
  return false;
}

std::optional<std::string> StderrDialogs::inputText(std::string_view caption,
                                                    std::string_view prompt, std::string_view) {
  writeLine(caption, prompt);
  return std::nullopt;
}

std::optional<std::string> StderrDialogs::openFileName(std::string_view, std::string_view,
                                                       std::string_view) {
  return std::nullopt;
}

std::optional<std::string> StderrDialogs::saveFileName(std::string_view, std::string_view,
                                                       std::string_view, std::string_view) {
  return std::nullopt;
}

}  // namespace fondaris::core
