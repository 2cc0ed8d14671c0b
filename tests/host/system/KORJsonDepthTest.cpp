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

TEST(KORJsonDepth, RefusesDeepNestingWithItsPosition) {
  // 50,000 levels, inside a member no reader would look at.
  const std::string text = "{\"ignored\":\n  " + std::string(50000, '[') + std::string(50000, ']') + "}";
  std::string error;
  ASSERT_FALSE(KORCheckJsonDepth(text, error));
  EXPECT_EQ(error, "line 2, column 66: nesting deeper than 64 levels");
}
