#include "system/KORJsonDepth.h"

#include <gtest/gtest.h>

TEST(KORJsonDepth, CountsOnlyBracketsOutsideStrings) {
  std::string error;
  EXPECT_TRUE(KORCheckJsonDepth(R"({"a":[[1]]})", error, 3));
  EXPECT_FALSE(KORCheckJsonDepth(R"({"a":[[[1]]]})", error, 3));
  // Brackets in strings, escaped quotes included, are text.
  EXPECT_TRUE(KORCheckJsonDepth(R"({"a":"[[[[\"[[[["})", error, 1));
  EXPECT_TRUE(KORCheckJsonDepth(R"([[1],[2],[3],[4]])", error, 2));
}
