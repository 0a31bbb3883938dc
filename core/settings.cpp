#include "core/settings.h"

#include <filesystem>

#include "core/files.h"
#include "core/ini_file.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/platform/platform.h"

namespace fondaris::core {

namespace {

std::string withTrailingSeparator(std::string folder) {
  const char separator = std::filesystem::path::preferred_separator;
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

bool isFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(platform::nativePath(path), ec);
}

FileResult writePair(std::string_view formKey, const char* key1, int value1, const char* key2,
                     int value2) {
  IniFile ini(windowSettingsPath());
  ignoreFailure(ini.load());  // a missing file starts empty
  const std::string section = windowSettingsSection(formKey);
  ini.writeInteger(section, key1, value1);
  ini.writeInteger(section, key2, value2);
  return ini.save();
}

}  // namespace

std::string userDataFolder() {
  return platform::userDataFolder();
}

std::string madeUserDataFolder() {
  const std::string folder = userDataFolder();
  if (folder.empty()) return {};
  std::error_code ec;
  if (std::filesystem::create_directories(platform::nativePath(folder), ec)) {
    // A folder made for the user's offers and forms data is his alone.
    std::filesystem::permissions(platform::nativePath(folder), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
  } else if (!isFolder(folder)) {
    return {};
  }
  return folder;
}

std::string userFilesFolder() {
  const std::string& working = workingDirectory();
  if (isFolder(working) && platform::mayWriteFolder(working)) return working;
  const std::string folder = madeUserDataFolder();
  return folder.empty() ? working : folder;
}

std::string findPersonalFolder() {
  const std::string folder = platform::documentsFolder();
  if (!isFolder(folder)) return withTrailingSeparator(userFilesFolder());
  return withTrailingSeparator(folder);
}

const std::string& personalFolder() {
  static const std::string folder = findPersonalFolder();
  return folder;
}

std::string userName() {
  std::string name = platform::environmentVariable("USERNAME");
  if (name.empty()) name = platform::environmentVariable("USER");
  return name;
}

std::string windowSettingsPath() {
  return joinPath(userFilesFolder(), kWindowSettingsFile);
}

std::string windowSettingsSection(std::string_view formKey) {
  return std::string(formKey) + "-" + userName();
}

FileResult savePosition(std::string_view formKey, int top, int left) {
  return writePair(formKey, "Top", top, "Left", left);
}

WindowPosition loadPosition(std::string_view formKey) {
  IniFile ini(windowSettingsPath());
  ignoreFailure(ini.load());  // nothing stored yet reads as kNotStored
  const std::string section = windowSettingsSection(formKey);
  return {ini.readInteger(section, "Top", kNotStored),
          ini.readInteger(section, "Left", kNotStored)};
}

FileResult saveSize(std::string_view formKey, int height, int width) {
  return writePair(formKey, "Height", height, "Width", width);
}

WindowSize loadSize(std::string_view formKey) {
  IniFile ini(windowSettingsPath());
  ignoreFailure(ini.load());  // nothing stored yet reads as kNotStored
  const std::string section = windowSettingsSection(formKey);
  return {ini.readInteger(section, "Height", kNotStored),
          ini.readInteger(section, "Width", kNotStored)};
}

std::optional<std::string> versionString(std::string_view key) {
  // Keys are looked up under a prefix like "\StringFileInfo\040704E4\", which leaves 74
  // characters for the key.
  constexpr std::size_t kPrefixLength = 25;
  if (key.size() > 99 - kPrefixLength) return std::nullopt;
  if (key == "FileVersion" || key == "ProductVersion") return std::string(FONDARIS_FILE_VERSION);
  if (key == "ProductName" || key == "InternalName") return std::string("Fondaris");
  return std::nullopt;
}

void openFile(const std::string& path, Dialogs& dialogs, Shell& shell) {
  if (!fileExists(path)) {
    dialogs.message("Die Datei '" + path + "' nicht gefunden!", "Fehler");
    return;
  }
  switch (shell.open(path)) {
    case OpenResult::Ok:
      break;
    case OpenResult::NoAssociation:
      dialogs.message("Keine Verknüpfung für '" + path + "' gefunden!", "Fehler");
      break;
    case OpenResult::NotFound:
      dialogs.message("Die Datei '" + path + "' nicht gefunden!", "Fehler");
      break;
  }
}

int openProductDocument(const std::string& directory, int number, Dialogs& dialogs, Shell& shell) {
  if (number < 0 || number > 19) return 1;
  ParamRecord record;
  if (!readParamRecord(directory, record)) return 0;
  const auto index = static_cast<std::size_t>(number);
  if (paramNumber(record, paramField("vlStrategy.active"), index) == 0) return 0;
  const std::string name = paramText(record, paramField("vlStrategy.infoDocument"), index);
  if (name.empty()) {
    dialogs.message("Keine Informationen gefunden!", "Fehler");
    return 0;
  }
  openFile(joinPath(directory, name), dialogs, shell);
  return 0;
}

bool& regionalSettingsHint() {
  static bool show = true;
  return show;
}

}  // namespace fondaris::core
