#pragma once

#include <string>

namespace fondaris::test_support {

// The folder holding "BLZ.DAT" built from tests/support/blz_test.txt, the same on every
// machine.
std::string bankDataFolder();
// That file's full name.
std::string bankDataFile();
// Copies it into `folder` as "BLZ.DAT", the name the sample Param.dat gives.
void copyBankData(const std::string& folder);

}  // namespace fondaris::test_support
