#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialogs.h"

namespace fondaris::test_support {

// Answers are queued in advance, every dialog shown is recorded, and a dialog that needs
// an answer nobody queued is recorded as unexpected (see `unexpected`) and answered by default.
class ScriptedDialogs final : public core::Dialogs {
 public:
  struct Shown {
    std::string kind;  // "message", "question", "input", "open", "save"
    std::string caption;
    std::string text;
  };

  void answerYes() { answers_.push_back("yes"); }
  void answerNo() { answers_.push_back("no"); }
  // An input box or file dialog answer; nullopt cancels.
  void answerText(std::optional<std::string> text) {
    answers_.push_back(text ? "=" + *text : std::string("cancel"));
  }

  // Looking at what was shown counts as having checked it (see `unchecked`).
  const std::vector<Shown>& shown() const {
    checked_ = shown_.size();
    return shown_;
  }
  // Messages only, as "caption: text", in order.
  std::vector<std::string> messages() const;
  // Dialogs shown after the test last looked at `shown` or `messages`, as "kind caption: text".
  std::vector<std::string> unchecked() const;
  const std::vector<std::string>& unexpected() const { return unexpected_; }
  // Runs as each dialog shows, to look at the forms behind it.
  std::function<void()> onShow;
  bool allAnswersUsed() const { return answers_.empty(); }
  // Queued answers nobody asked for.
  std::vector<std::string> unusedAnswers() const { return {answers_.begin(), answers_.end()}; }
  void clear() {
    shown_.clear();
    unexpected_.clear();
    answers_.clear();
    checked_ = 0;
  }

  void message(std::string_view text, std::string_view caption) override;
  bool askYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                       std::string_view initial) override;
  std::optional<std::string> openFileName(std::string_view title, std::string_view folder,
                                          std::string_view filter) override;
  std::optional<std::string> saveFileName(std::string_view title, std::string_view folder,
                                          std::string_view filter,
                                          std::string_view suggestedName) override;

 private:
  std::optional<std::string> take(const std::string& kind, std::string_view caption,
                                  std::string_view text);
  std::deque<std::string> answers_;
  std::vector<Shown> shown_;
  std::vector<std::string> unexpected_;
  mutable std::size_t checked_ = 0;
};

}  // namespace fondaris::test_support
