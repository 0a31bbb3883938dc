#pragma once

#include <string>

#include "core/german.h"

namespace fondaris::documents {

// The folder for the offer document, its error log and the clean-up, with a trailing "/": the
// first of TMP, TEMP, TMPDIR, the program's working folder and "/tmp" in which a file can be
// created ("/tmp" is created when missing and used even when that fails).
std::string temporaryFolder();

// The folder the offer, its error log and the clean-up go to, with a trailing "/": the temporary
// folder, unless there (a folder other users may write) another user's link or file stands at
// "KDX2009.pdf"; then the folder for the user's own files (core::userFilesFolder), and should
// that be taken as well, his data folder (core::userDataFolder, made his alone when new).
std::string offerFolder();

// Deletes every "*KDX2009.pdf" in `folder` (plain files only) made before `today`: the
// creation date where the file system keeps one, else the modification date, in local time,
// compared as a whole date. In a folder other users may write only the user's own files go.
// Answers the number deleted.
int removeOutdatedOffers(const std::string& folder, core::DateTime today);

// Appends one line, Windows-1252 with CR LF, to "KDX2009.ERR" in `folder`; nothing when the
// file cannot be opened, or when in a folder other users may write it is another user's.
void appendErrorLog(const std::string& folder, const std::string& line);

inline constexpr const char* kOfferFileName = "KDX2009.pdf";
inline constexpr const char* kOfferFileSuffix = "KDX2009.pdf";
inline constexpr const char* kErrorLogName = "KDX2009.ERR";

}  // namespace fondaris::documents
