#include "tests/support/bank_fixture.h"

#include <filesystem>

namespace fondaris::test_support {

std::string bankDataFolder() {
  return FONDARIS_TEST_BANK_DIR;
}

std::string bankDataFile() {
  return bankDataFolder() + "/BLZ.DAT";
}

void copyBankData(const std::string& folder) {
  std::filesystem::copy_file(bankDataFile(), std::filesystem::path(folder) / "BLZ.DAT",
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace fondaris::test_support
