#include "core/param_layout.h"

namespace fondaris::core {

const ParamField* findParamField(std::string_view name) {
  for (const ParamField& f : kParamFields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

std::int64_t paramNumber(const ParamRecord& record, const ParamField& field, std::size_t index) {
  const std::size_t at = field.at(index);
  switch (field.type) {
    case ParamType::I16:
      return record.i16(at);
    case ParamType::U16:
      return record.u16(at);
    case ParamType::I32:
      return record.i32(at);
    case ParamType::U32:
      return record.u32(at);
    case ParamType::Text:
      break;
  }
  return 0;
}

std::string paramText(const ParamRecord& record, const ParamField& field, std::size_t index) {
  return record.text(field.at(index), field.size);
}

}  // namespace fondaris::core
