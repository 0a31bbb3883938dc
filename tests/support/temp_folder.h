#pragma once

#include <filesystem>
#include <string>

namespace fondaris::test_support {

// A folder of this process's own under the system's temporary folder (see makeOwnFolder: open
// to this user alone, a name no other process has), removed with everything in it when the
// object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "fondaris");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // A name inside the folder.
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace fondaris::test_support
