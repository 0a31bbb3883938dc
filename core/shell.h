#pragma once

#include <string>

namespace fondaris::core {

// Opening a file with the program associated with its type.
enum class OpenResult { Ok, NoAssociation, NotFound };

class Shell {
 public:
  virtual ~Shell() = default;
  virtual OpenResult open(const std::string& path) = 0;
};

// The system's own way: xdg-open on POSIX systems (not waiting for the viewer; a quick failure
// counts as no association), the shell's "open" on Windows.
class SystemShell final : public Shell {
 public:
  OpenResult open(const std::string& path) override;
};

// Opens nothing and answers Ok: for runs where nobody would look at what is opened.
class NoShell final : public Shell {
 public:
  OpenResult open(const std::string&) override { return OpenResult::Ok; }
};

}  // namespace fondaris::core
