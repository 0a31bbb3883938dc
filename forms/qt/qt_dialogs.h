#pragma once

#include <functional>

#include "core/dialogs.h"

class QWidget;

namespace fondaris::qt {

// Message boxes, input boxes and file dialogs of the window system, over the active window.
// Button texts are German once the German Qt translation is installed.
class QtDialogs final : public core::Dialogs {
 public:
  // `showViews` brings the windows up to date before a dialog covers them, so that what a
  // handler set before its message is already on view behind the box.
  explicit QtDialogs(std::function<void()> showViews = {});

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
  // Brings the views up to date and gives the parent window for a dialog about to show.
  QWidget* parentForADialog() const;

  std::function<void()> showViews_;
};

// Loads the German Qt texts ("&Ja", "&Nein", "Abbrechen", file dialogs) into the application.
// False when the translation file is not installed.
bool installGermanTranslations();

}  // namespace fondaris::qt
