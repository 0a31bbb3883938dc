#pragma once

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
// their default answer (No / cancel) and nothing ever waits for input. Tools may derive to
// watch what is said.
class StderrDialogs : public Dialogs {
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

}  // namespace fondaris::core
