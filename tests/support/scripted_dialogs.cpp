#include "tests/support/scripted_dialogs.h"

namespace fondaris::test_support {

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
  if (onShow) onShow();
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
  if (onShow) onShow();
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

}  // namespace fondaris::test_support
