#include "documents/offer/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1252.h"
#include "core/files.h"
#include "core/settings.h"

namespace fondaris::documents {

namespace {

std::string withSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

bool canCreateFileIn(const std::string& folder) {
  if (folder.empty()) return false;
  std::string probe = withSlash(folder) + "fondarisXXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

// Creation date where the file system keeps one, else the modification date.
bool fileDate(const std::string& path, int& year, int& month, int& day) {
  struct statx info {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0) return false;
  const std::time_t seconds = (info.stx_mask & STATX_BTIME)
                                  ? static_cast<std::time_t>(info.stx_btime.tv_sec)
                                  : static_cast<std::time_t>(info.stx_mtime.tv_sec);
  std::tm local{};
  if (!::localtime_r(&seconds, &local)) return false;
  year = local.tm_year + 1900;
  month = local.tm_mon + 1;
  day = local.tm_mday;
  return true;
}

bool offerNameFreeIn(const std::string& folder) {
  return !folder.empty() && !core::takenByOther(withSlash(folder) + kOfferFileName);
}

// Another user's file in a folder others may write is his to keep (root could remove it).
bool isOwnOrPrivate(const std::filesystem::path& entry, bool sharedFolder) {
  struct stat info {};
  return !sharedFolder || (::lstat(entry.c_str(), &info) == 0 && info.st_uid == ::geteuid());
}

}  // namespace

std::string temporaryFolder() {
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value && canCreateFileIn(value)) return withSlash(value);
  }
  // The working folder, or for an installed program folder the user may not write, his own
  // data folder; both before the system's shared one.
  const std::string userFiles = core::userFilesFolder();
  if (canCreateFileIn(userFiles)) return withSlash(userFiles);
  std::error_code ignored;
  std::filesystem::create_directories("/tmp", ignored);
  return "/tmp/";
}

std::string offerFolder() {
  const std::string temporary = temporaryFolder();
  if (offerNameFreeIn(temporary)) return temporary;
  const std::string userFiles = core::userFilesFolder();
  if (offerNameFreeIn(userFiles)) return withSlash(userFiles);
  const std::string data = core::madeUserDataFolder();
  if (offerNameFreeIn(data)) return withSlash(data);
  // Nowhere free: the writer refuses the taken name and the agent is told.
  return temporary;
}

int removeOutdatedOffers(const std::string& folder, core::DateTime today) {
  int todayYear = 0, todayMonth = 0, todayDay = 0;
  core::decodeDate(today, todayYear, todayMonth, todayDay);
  const long todayKey = todayYear * 10000L + todayMonth * 100L + todayDay;
  const std::string suffix = kOfferFileSuffix;
  const bool shared = core::isSharedFolder(folder);
  int removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    std::error_code kindError;
    if (entry.is_directory(kindError) || !isOwnOrPrivate(entry.path(), shared)) continue;
    int year = 0, month = 0, day = 0;
    if (!fileDate(entry.path().string(), year, month, day)) continue;
    if (year * 10000L + month * 100L + day < todayKey && core::removeFile(entry.path().string()))
      ++removed;
  }
  return removed;
}

void appendErrorLog(const std::string& folder, const std::string& line) {
  const std::string path = withSlash(folder) + kErrorLogName;
  // The log names the customer's offer; the temporary folder may be shared with other users,
  // so a link planted at the fixed name is not followed.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return;
  // The log names the customer: never appended to another user's file where he could read it.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || (info.st_uid != ::geteuid() && core::isSharedFolder(folder))) {
    ::close(fd);
    return;
  }
  const std::string bytes = core::utf8ToCp1252(line) + "\r\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

}  // namespace fondaris::documents
