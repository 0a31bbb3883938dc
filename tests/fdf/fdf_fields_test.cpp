#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "documents/fdf/fdf_fields.h"

namespace fondaris::documents {
namespace {

std::vector<std::string> names(FdfFile file) {
  std::vector<std::string> out;
  for (const FdfField& field : fdfFields(file)) out.emplace_back(field.name);
  return out;
}

TEST(FdfFields, TheTableIsConsistent) {
  for (FdfFile file : {FdfFile::VVSpar, FdfFile::VVBuSpar, FdfFile::VVEZ, FdfFile::VVZUEB,
                       FdfFile::VVZUEBEA, FdfFile::VVZUEBEEG}) {
    SCOPED_TRACE(std::string(fdfFileName(file)));
    for (FdfVariant variant : {FdfVariant::Vl, FdfVariant::Ziel}) {
      std::set<std::string_view> seen;
      for (const FdfField& field : fdfFields(file, variant)) {
        EXPECT_TRUE(seen.insert(field.name).second) << field.name;
        EXPECT_EQ(field.name.find('.'), std::string_view::npos) << field.name;
        const auto values = fdfExportValues(field);
        EXPECT_EQ(values.empty(), field.kind == FdfFieldKind::Text) << field.name;
        EXPECT_EQ(std::count(values.begin(), values.end(), kNoChoice), 0) << field.name;
        const FdfField* found = findFdfField(file, field.name, variant);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->exports, field.exports) << field.name;
      }
    }
  }
  // The transfer files differ only in the amount and the depot number.
  auto transfer = names(FdfFile::VVZUEB);
  EXPECT_EQ(transfer.size(), 15u);
  std::erase(transfer, "Betrag");
  EXPECT_EQ(names(FdfFile::VVZUEBEEG), transfer);
  transfer.insert(std::find(transfer.begin(), transfer.end(), "Verwendungszweck") + 1, "Depot");
  EXPECT_EQ(names(FdfFile::VVZUEBEA), transfer);
  EXPECT_EQ(names(FdfFile::VVBuSpar).size(), 16u);
  EXPECT_EQ(names(FdfFile::VVEZ).size(), 20u);

  EXPECT_EQ(fdfExportValues(*findFdfField(FdfFile::VVSpar, "Strategie", FdfVariant::Ziel)).front(),
            "ZSP1");
  EXPECT_EQ(findFdfField(FdfFile::VVSpar, "VLStrategie", FdfVariant::Ziel), nullptr);
  EXPECT_EQ(findFdfField(FdfFile::VVSpar, "GibtEsNicht"), nullptr);
}

}  // namespace
}  // namespace fondaris::documents
