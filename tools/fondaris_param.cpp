// fondaris-param: builds "Param.dat" from its readable source and dumps a record as text.
//
//   fondaris-param build SOURCE OUT   source text (see core/param_source.h) -> 466088-byte record
//   fondaris-param dump FILE          every field of the layout with its value

#include <iostream>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/param_record.h"
#include "core/param_source.h"

namespace {

using namespace fondaris::core;

int fail(const std::string& message) {
  std::cerr << "fondaris-param: " << message << "\n";
  return 1;
}

int build(const std::string& sourcePath, const std::string& outPath) {
  const auto source = readFileBytes(sourcePath);
  if (!source) return fail("Die Quelldatei '" + sourcePath + "' kann nicht gelesen werden.");
  ParamRecord record;
  if (const auto error = buildParamRecord(*source, record)) {
    return fail(sourcePath + ", Zeile " + std::to_string(error->line) + ": " + error->message);
  }
  const std::string_view bytes(reinterpret_cast<const char*>(record.bytes().data()),
                               record.bytes().size());
  if (!writeFileAtomically(outPath, bytes)) {
    return fail("Die Datei '" + outPath + "' kann nicht geschrieben werden.");
  }
  return 0;
}

int dump(const std::string& path) {
  const auto bytes = readFileBytes(path);
  if (!bytes) return fail("Die Datei '" + path + "' kann nicht gelesen werden.");
  if (bytes->size() != kParamRecordSize) {
    return fail("Die Datei '" + path + "' hat " + std::to_string(bytes->size()) + " Bytes statt " +
                std::to_string(kParamRecordSize) + ".");
  }
  ParamRecord record;
  record.bytes().assign(bytes->begin(), bytes->end());
  std::cout << dumpParamRecord(record);
  return std::cout.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "build" && argc == 4) return build(argv[2], argv[3]);
  if (command == "dump" && argc == 3) return dump(argv[2]);
  std::cerr << "Aufruf: fondaris-param build QUELLE AUSGABE\n"
               "        fondaris-param dump DATEI\n";
  return 1;
}
