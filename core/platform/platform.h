#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/notation.h"
#include "core/shell.h"

// What the operating system does differently, in one place: posix/ and windows/ hold the two
// implementations, CMake builds the one of the target system. Everything here takes and gives
// UTF-8; an implementation converts to the system's own encoding of names (UTF-16 on Windows).
namespace fondaris::core::platform {

// --- Files ---

// A UTF-8 name as the system names files.
std::filesystem::path nativePath(std::string_view utf8);
// The name back as UTF-8.
std::string utf8Path(const std::filesystem::path& path);

// The whole file replaced at once: see writeFileAtomically.
FileResult replaceFile(const std::string& path, std::string_view bytes);
// See isSharedFolder and takenByOther in files.h; never on a system without such folders.
bool isSharedFolder(const std::string& folder);
bool takenByOther(const std::string& path);
// Both names lead to the same existing file.
bool sameFile(const std::string& a, const std::string& b);
// The user may create and remove files in the folder.
bool mayWriteFolder(const std::string& folder);

// --- Memory ---

// Zeroed memory for a large block the caller fills at once, its pages made in one call instead
// of one fault each; throws std::bad_alloc. Given back with releaseBlock and the same size.
void* allocateBlock(std::size_t size);
void releaseBlock(void* block, std::size_t size);

// --- The program and its user ---

// The command line, the program's name first, in UTF-8 (Windows hands main() its own code page).
std::vector<std::string> commandArguments(int argc, char** argv);
// Full name of the running executable; empty when the system does not tell.
std::string executablePath();
// An environment variable, empty when unset.
std::string environmentVariable(const char* name);
// The folder for the user's own files of this program (not created here); empty when the
// system names none.
std::string userDataFolder();
// The user's documents folder as the system names it; empty or not a folder when it names none.
std::string documentsFolder();

// --- Notation, clock, shell ---

// Makes the system's notation the C library's; the name of a locale that was asked for but is
// not installed, nullopt when all went well.
std::optional<std::string> useSystemLocale();
// The system's number, currency and date notation.
Notation systemNotation();
// Local time of `seconds`; false when it cannot be told.
bool localTime(std::time_t seconds, std::tm& out);
// Opens an existing file with the program associated with its type.
OpenResult openWithAssociatedProgram(const std::string& path);

}  // namespace fondaris::core::platform
