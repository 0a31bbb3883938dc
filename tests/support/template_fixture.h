#pragma once

#include <string>
#include <vector>

namespace fondaris::test_support {

// Draws the first variant's sample offer template to `outputPath` with every source line that
// holds one of `texts` left out, so the template lacks them. Answers false when it could not be
// drawn.
bool writeTemplateWithout(const std::vector<std::string>& texts, const std::string& outputPath);

}  // namespace fondaris::test_support
