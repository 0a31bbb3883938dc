#include "app/option_map.h"

namespace fondaris::app {

int PARAMAP::parse(const std::vector<std::string>& words) {
  map_.clear();
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.rfind("--", 0) == 0) return 0;
    if (w.empty() || w[0] != '-') return -1;
    const std::string rest = w.substr(1);
    std::string name = rest, value;
    if (const auto colon = rest.find(':'); colon != std::string::npos) {
      name = rest.substr(0, colon);
      value = rest.substr(colon + 1);
      if (name.empty() || value.empty()) return static_cast<int>(i + 1);
    }
    map_.emplace(std::move(name), std::move(value));  // keeps an existing first value
  }
  return 0;
}

std::string PARAMAP::lookup(const std::string& name, bool* found) const {
  const auto it = map_.find(name);
  if (found) *found = it != map_.end();
  return it == map_.end() ? std::string() : it->second;
}

std::vector<std::string> splitCommandLine(std::string_view text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  bool inQuotes = false;
  auto keep = [&](std::size_t from, std::size_t to) {
    if (to > from && to - from >= 2 && words.size() < kMaxCommandWords)
      words.emplace_back(text.substr(from, to - from));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (!inQuotes) {
        start = i + 1;
        inQuotes = true;
      } else {
        keep(start, i);
        start = i + 1;
        inQuotes = false;
      }
    } else if (c == ' ' && !inQuotes) {
      keep(start, i);
      start = i + 1;
    } else if (i + 1 == text.size()) {
      keep(start, i + 1);
    }
  }
  return words;
}

std::vector<std::string> commandWords(int argc, const char* const* argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc && words.size() < kMaxCommandWords; ++i) {
    std::string w(argv[i]);
    if (w.size() >= 2) words.push_back(std::move(w));
  }
  return words;
}

}  // namespace fondaris::app
