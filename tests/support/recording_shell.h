#pragma once

#include <string>
#include <vector>

#include "core/shell.h"

namespace fondaris::test_support {

// Records every path and answers with `answer`.
class RecordingShell final : public core::Shell {
 public:
  core::OpenResult open(const std::string& path) override {
    opened.push_back(path);
    return answer;
  }
  std::vector<std::string> opened;
  core::OpenResult answer = core::OpenResult::Ok;
};

}  // namespace fondaris::test_support
