#include "app/option_map.h"

#include <gtest/gtest.h>

namespace fondaris::app {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotesBlanksAndShortWords) {
  struct Case {
    const char* line;
    Words words;
  } cases[] = {
      {"-i:req.ini -o:res.ini", {"-i:req.ini", "-o:res.ini"}},
      {"\"-i:C:\\Mein Ordner\\a.ini\" -o:b", {"-i:C:\\Mein Ordner\\a.ini", "-o:b"}},
      {"-i:C:\\Mein Ordner\\a.ini", {"-i:C:\\Mein", "Ordner\\a.ini"}},
      // A quote inside a word restarts it after the quote.
      {"-i:\"a b.ini\" -o:x", {"a b.ini", "-o:x"}},
      {"a -x  -y b", {"-x", "-y"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;

  std::string many;
  for (int i = 0; i < 600; ++i) many += "-k" + std::to_string(i) + " ";
  EXPECT_EQ(splitCommandLine(many).size(), kMaxCommandWords);
}

TEST(PARAMAP, ParsesOptionsAndStopsAsDocumented) {
  struct Case {
    Words words;
    int status;
    std::string i, o;
  } cases[] = {
      {{"-i:req.ini", "-o:res.ini", "-x:1"}, 0, "req.ini", "res.ini"},
      {{"-i:a", "-i:b"}, 0, "a", ""},
      {{"-i:req.ini", "-o:", "-s:1"}, 2, "req.ini", ""},
      {{"-:x", "-i:a"}, 1, "", ""},
      {{"datei", "-i:a", "-o:b"}, -1, "", ""},
      {{"-i:a", "--", "-o:b"}, 0, "a", ""},
      {{"-i:a:b", "-o:c"}, 0, "a:b", "c"},
  };
  for (const auto& c : cases) {
    PARAMAP map;
    EXPECT_EQ(map.parse(c.words), c.status);
    EXPECT_EQ(map.lookup("i"), c.i);
    EXPECT_EQ(map.lookup("o"), c.o);
  }
  PARAMAP map;
  map.parse({"-x"});
  bool found = false;
  EXPECT_EQ(map.lookup("x", &found), "");
  EXPECT_TRUE(found);
  map.lookup("y", &found);
  EXPECT_FALSE(found);
}

}  // namespace
}  // namespace fondaris::app
