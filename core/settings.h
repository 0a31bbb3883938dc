#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/dialogs.h"
#include "core/files.h"
#include "core/shell.h"

namespace fondaris::core {

// Where the user's own files (agent data, window positions) live: the working directory when
// the user may write there; otherwise, as for an installed program folder, the user's data
// folder, created on first use. Product data are still read from the working directory.
std::string userFilesFolder();
// $XDG_DATA_HOME/fondaris, else ~/.local/share/fondaris; on Windows %APPDATA%\fondaris. Empty
// when the system names no such folder.
std::string userDataFolder();
// The same folder, made when missing (his alone then); empty when there is none or it cannot be
// made.
std::string madeUserDataFolder();

// The user's documents folder with a trailing separator: XDG_DOCUMENTS_DIR, else what
// `xdg-user-dir DOCUMENTS` names (on Windows the shell's Documents folder), else the user files
// folder. Computed once per process.
const std::string& personalFolder();
// The same lookup without the cache.
std::string findPersonalFolder();

// Window positions and sizes per user in "ZKDX.INI" of the user files folder, section
// "<form key>-<user>". Missing values read as kNotStored.
inline constexpr int kNotStored = -999;
inline constexpr const char* kWindowSettingsFile = "ZKDX.INI";

// USERNAME, else USER, else empty.
std::string userName();
std::string windowSettingsPath();
std::string windowSettingsSection(std::string_view formKey);

struct WindowPosition {
  int top = kNotStored, left = kNotStored;
};
struct WindowSize {
  int height = kNotStored, width = kNotStored;
};
// When writing fails the old file stays whole.
FileResult savePosition(std::string_view formKey, int top, int left);
WindowPosition loadPosition(std::string_view formKey);
FileResult saveSize(std::string_view formKey, int height, int width);
WindowSize loadSize(std::string_view formKey);

// A value of the program's version record ("FileVersion" gives "1.0.0.1"); nullopt for an
// unknown or overlong key.
std::optional<std::string> versionString(std::string_view key);

// Opens `path` with its associated program; failures end in a message box ("Fehler").
void openFile(const std::string& path, Dialogs& dialogs, Shell& shell);

// Opens product document `number` (0..19) of "Param.dat" from `directory`. Returns 1 for a
// number out of range, otherwise 0; every other failure is shown or ignored as the product
// data decide.
int openProductDocument(const std::string& directory, int number, Dialogs& dialogs, Shell& shell);

// Whether the hint about a non-German system notation is shown at start-up. Process-wide;
// the agent data form sets it from its stored data.
bool& regionalSettingsHint();

}  // namespace fondaris::core
