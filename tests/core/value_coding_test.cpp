#include "core/value_coding.h"

#include <gtest/gtest.h>

namespace fondaris::core {
namespace {

TEST(ValueCoding, EncodesAsUuencodedHex) {
  EXPECT_EQ(encodeValue("abc"), "23383629430A");
  // A six-bit zero is a space (hex 20), not a back quote.
  EXPECT_EQ(encodeValue(std::string(1, '\0')), "21202020200A");
}

TEST(ValueCoding, RoundTrips) {
  for (const std::string& value :
       {std::string("FQ2026@3"), std::string(""), std::string("ÄÖÜß@12"), std::string(45, 'x'),
        std::string(46, 'y'), std::string(60, 'z')}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(decodeValue(encodeValue(value)), value);
  }
}

TEST(ValueCoding, CutsValuesAfterSixtyCharacters) {
  EXPECT_EQ(decodeValue(encodeValue(std::string(70, 'a'))), std::string(60, 'a'));
}

TEST(ValueCoding, RejectsWhatIsNoCoding) {
  for (const char* coded : {"2338362943A",      // odd number of digits
                            "23383629430G",     // not hexadecimal
                            "2338360A",         // run shorter than its length says
                            "233836294301",     // no line end after the run
                            "7F383629430A"}) {  // length character out of range
    SCOPED_TRACE(coded);
    EXPECT_FALSE(decodeValue(coded).has_value());
  }
  EXPECT_EQ(decodeValue("23383629430a"), "abc");  // lower-case digits are read too
}

}  // namespace
}  // namespace fondaris::core
