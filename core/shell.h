#pragma once

#include <string>
#include <vector>

namespace fondaris::core {

// Opening a file with the program associated with its type.
enum class OpenResult { Ok, NoAssociation, NotFound };

class Shell {
 public:
  virtual ~Shell() = default;
  virtual OpenResult open(const std::string& path) = 0;
};

// xdg-open, started without waiting for the viewer: a quick failure with exit code 3 (no
// method) or 4 (the associated program failed) is reported as no association.
class XdgShell final : public Shell {
 public:
  OpenResult open(const std::string& path) override;
};

// Tests: records every path and answers with `answer`.
class RecordingShell final : public Shell {
 public:
  OpenResult open(const std::string& path) override {
    opened.push_back(path);
    return answer;
  }
  std::vector<std::string> opened;
  OpenResult answer = OpenResult::Ok;
};

}  // namespace fondaris::core
