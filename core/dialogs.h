#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::core {

// Everything the program tells or asks the user goes through this interface, so handler code
// runs the same in the GUI, in batch mode and in tests. Texts and captions are UTF-8.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Modal message box with an OK button and no icon.
  virtual void message(std::string_view text, std::string_view caption) = 0;
  // Yes/No question; true means "Ja".
  virtual bool askYesNo(std::string_view text, std::string_view caption) = 0;
  // Text input box; nullopt when cancelled.
  virtual std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                               std::string_view initial) = 0;
  // File dialogs; nullopt when cancelled. `filter` is in the form "Angebote (*.ang)".
  virtual std::optional<std::string> openFileName(std::string_view title, std::string_view folder,
                                                  std::string_view filter) = 0;
  virtual std::optional<std::string> saveFileName(std::string_view title, std::string_view folder,
                                                  std::string_view filter,
                                                  std::string_view suggestedName) = 0;
};

// Batch mode: every message becomes one line "caption: text" on standard error; questions take
// their default answer (No / cancel) and nothing ever waits for input.
class StderrDialogs final : public Dialogs {
 public:
  void message(std::string_view text, std::string_view caption) override;
  bool askYesNo(std::string_view text, std::string_view caption) override;
  std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                       std::string_view initial) override;
  std::optional<std::string> openFileName(std::string_view title, std::string_view folder,
                                          std::string_view filter) override;
  std::optional<std::string> saveFileName(std::string_view title, std::string_view folder,
                                          std::string_view filter,
                                          std::string_view suggestedName) override;
};

// Tests: answers are queued in advance, every dialog shown is recorded, and a dialog that needs
// an answer nobody queued is recorded as unexpected (see `unexpected`) and answered by default.
class ScriptedDialogs final : public Dialogs {
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

}  // namespace fondaris::core
