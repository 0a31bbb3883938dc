#pragma once

#include <string>

namespace fondaris::test_support {

// Copies `file` to build/test-output/`name` for a person to look at. Tests assert on their own
// scratch copies, never on this one: parallel runs may replace it at any time. The copy appears
// whole; a failure to copy is no test failure.
void keepForALook(const std::string& file, const std::string& name);

}  // namespace fondaris::test_support
