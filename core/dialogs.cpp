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

std::vector<std::string> ScriptedDialogs::messages() const {
  checked_ = shown_.size();
  std::vector<std::string> out;
  for (const auto& s : shown_)
    if (s.kind == "message") out.push_back(s.caption + ": " + s.text);
  return out;
}

std::vector<std::string> ScriptedDialogs::unchecked() const {
  std::vector<std::string> out;
  for (std::size_t i = checked_; i < shown_.size(); ++i)
    out.push_back(shown_[i].kind + " " + shown_[i].caption + ": " + shown_[i].text);
  return out;
}

std::optional<std::string> ScriptedDialogs::take(const std::string& kind, std::string_view caption,
                                                 std::string_view text) {
  shown_.push_back({kind, std::string(caption), std::string(text)});
  if (answers_.empty()) {
    unexpected_.push_back(kind + " " + std::string(caption) + ": " + std::string(text));
    return std::nullopt;
  }
  std::string a = answers_.front();
  answers_.pop_front();
  return a;
}

void ScriptedDialogs::message(std::string_view text, std::string_view caption) {
  shown_.push_back({"message", std::string(caption), std::string(text)});
}

bool ScriptedDialogs::askYesNo(std::string_view text, std::string_view caption) {
  auto a = take("question", caption, text);
  return a && *a == "yes";
}

std::optional<std::string> ScriptedDialogs::inputText(std::string_view caption,
                                                      std::string_view prompt, std::string_view) {
  auto a = take("input", caption, prompt);
  if (!a || a->empty() || (*a)[0] != '=') return std::nullopt;
  return a->substr(1);
}

std::optional<std::string> ScriptedDialogs::openFileName(std::string_view title, std::string_view,
                                                         std::string_view) {
  auto a = take("open", title, "");
  if (!a || a->empty() || (*a)[0] != '=') return std::nullopt;
  return a->substr(1);
}

std::optional<std::string> ScriptedDialogs::saveFileName(std::string_view title, std::string_view,
                                                         std::string_view, std::string_view) {
  auto a = take("save", title, "");
  if (!a || a->empty() || (*a)[0] != '=') return std::nullopt;
  return a->substr(1);
}

}  // namespace fondaris::core
