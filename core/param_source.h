#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/param_record.h"

namespace fondaris::core {

// The readable text form of "Param.dat" that product data is kept in (data/param.txt) and that
// the fondaris-param tool builds the record from and dumps it back to. One assignment a line:
//
//   # comment (also after a value)
//   productTextA1 = "Fondaris VL"          texts: UTF-8, \" \\ and \xHH (a raw record byte)
//   childAgeLimit = 17
//   deathBenefitSex0[10] = 1 2 3           numbers fill entries 10, 11, 12, ...
//   vlStrategy[3].name = "Ausgewogen"      member of a repeated block
//
// Names are those of the field layout (param_layout.h); a missing index means entry 0. Fields
// not assigned stay zero; every byte outside the layout is zero.

struct ParamSourceError {
  int line = 0;  // 1-based
  std::string message;
};

// Builds `out` from the source text; the first error stops it.
std::optional<ParamSourceError> buildParamRecord(std::string_view source, ParamRecord& out);

// Every field of the layout with its value, one line per entry, as a source that builds the
// same fields again. Aliases are not repeated.
std::string dumpParamRecord(const ParamRecord& record);

}  // namespace fondaris::core
