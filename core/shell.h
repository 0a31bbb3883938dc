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

// xdg-open, started without waiting for the viewer: a quick failure with exit code 3 (no
// method) or 4 (the associated program failed) is reported as no association.
class XdgShell final : public Shell {
 public:
  OpenResult open(const std::string& path) override;
};

// Opens nothing and answers Ok: for runs where nobody would look at what is opened.
class NoShell final : public Shell {
 public:
  OpenResult open(const std::string&) override { return OpenResult::Ok; }
};

}  // namespace fondaris::core
