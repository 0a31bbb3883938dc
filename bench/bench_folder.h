#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace fondaris::bench {

// A folder of this process's own under the temporary folder, removed at exit: benchmarks run
// side by side never share files. Empty when it could not be made.
inline const std::filesystem::path& privateFolder() {
  struct Folder {
    Folder() {
      std::error_code error;
      std::filesystem::path base = std::filesystem::temp_directory_path(error);
      if (error) base = "/tmp";
      std::string pattern = (base / "fondaris_bench_XXXXXX").string();
      if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~Folder() {
      std::error_code error;
      if (!path.empty()) std::filesystem::remove_all(path, error);
    }
    std::filesystem::path path;
  };
  static const Folder folder;
  return folder.path;
}

}  // namespace fondaris::bench
