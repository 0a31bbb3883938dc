// The fuzz targets without libFuzzer: each file named, and each file of each folder named, goes
// once through the target, so the ordinary tests replay seeds and past findings. A path that
// does not exist fails, so a renamed seed cannot drop out unnoticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// Exactly the input's bytes on the heap, as libFuzzer hands them over, so that AddressSanitizer
// sees a read past the end.
std::vector<std::uint8_t> readInput(const fs::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
  if (bytes.size() > limit) bytes.resize(limit);
  bytes.shrink_to_fit();
  return bytes;
}

}  // namespace

// replay [--first-bytes=N] <file or folder>...: N limits the next path's files to their start.
int main(int argc, char** argv) {
  constexpr std::string_view kFirstBytes = "--first-bytes=";
  constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();
  std::size_t limit = kWhole;
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with(kFirstBytes)) {
      limit = std::stoul(std::string(arg.substr(kFirstBytes.size())));
      continue;
    }
    std::vector<fs::path> files;
    std::error_code error;
    if (fs::is_directory(arg, error)) {
      for (const fs::directory_entry& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else if (fs::is_regular_file(arg, error)) {
      files.emplace_back(arg);
    } else {
      std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
      return 1;
    }
    for (const fs::path& file : files) {
      // Named before the run, so that a crash names its input.
      std::fprintf(stderr, "%s\n", file.c_str());
      const std::vector<std::uint8_t> input = readInput(file, limit);
      LLVMFuzzerTestOneInput(input.data(), input.size());
      ++replayed;
    }
    limit = kWhole;
  }
  std::fprintf(stderr, "%d inputs replayed\n", replayed);
  std::filesystem::remove_all(fondaris::fuzz::scratchFolder());
  return replayed > 0 ? 0 : 1;
}
