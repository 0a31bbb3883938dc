#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::app {

// PARAMAP: the command-line options, name → value, compared byte-wise. The first value of a
// repeated name stays.
class PARAMAP {
 public:
  // 0: all words parsed or "--" reached; -1: a word without leading "-" stopped parsing;
  // n > 0: word n (1-based) had an empty name or an empty value after ":".
  int parse(const std::vector<std::string>& words);
  // The value, or "" when the name is missing.
  std::string lookup(const std::string& name, bool* found = nullptr) const;
  const std::map<std::string, std::string>& entries() const { return map_; }

 private:
  std::map<std::string, std::string> map_;
};

inline constexpr std::size_t kMaxCommandWords = 500;

// Splits a command line into words; double quotes group, words shorter than two characters
// are dropped, at most 500 words are kept.
std::vector<std::string> splitCommandLine(std::string_view text);

// The words of an argument vector (already split by the shell), with the same word rules.
std::vector<std::string> commandWords(int argc, const char* const* argv);

}  // namespace fondaris::app
