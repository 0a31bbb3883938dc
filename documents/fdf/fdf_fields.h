#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::documents {

// The forms-data files written by the application form's "&Weiter".
enum class FdfFile { VVSpar, VVBuSpar, VVEZ, VVZUEB, VVZUEBEA, VVZUEBEEG };
inline constexpr std::size_t kFdfFileCount = 6;
// The position of `file` in tables that hold one entry per file, in the order above.
constexpr std::size_t fdfFileIndex(FdfFile file) {
  return static_cast<std::size_t>(file);
}

enum class FdfFieldKind {
  Text,    // /V (text)
  Choice,  // /V /export: a check box or a radio group of the PDF form
};

// Which product variant's forms carry a field: both, or only the first ("VL") or the second.
enum class FdfVariant { Both, Vl, Ziel };

// One field a forms-data file fills. For choices, `exports` lists the export values the PDF form
// offers, separated by blanks; "X" (nothing chosen) is never one of them.
struct FdfField {
  std::string_view name;
  FdfFieldKind kind;
  std::string_view exports = {};
  FdfVariant variant = FdfVariant::Both;
};

// The value written for a choice group when none of its boxes is chosen.
inline constexpr std::string_view kNoChoice = "X";

// The fields of one forms-data file, in the order they are written. This one table serves the
// entries code of the application form, the sample form builder (which refuses a form that lacks
// one of them) and the tests.
const std::vector<FdfField>& fdfFields(FdfFile file);

// The fields of `file` that a form of `variant` carries (Vl or Ziel; Both keeps every field).
std::vector<FdfField> fdfFields(FdfFile file, FdfVariant variant);

// A field of `file` by name as a form of `variant` carries it ("Strategie" offers other export
// values per variant); nullptr when there is none.
const FdfField* findFdfField(FdfFile file, std::string_view name,
                             FdfVariant variant = FdfVariant::Both);

// The export values of a choice field, split.
std::vector<std::string> fdfExportValues(const FdfField& field);

// "VVSpar.fdf", ...
std::string_view fdfFileName(FdfFile file);

}  // namespace fondaris::documents
