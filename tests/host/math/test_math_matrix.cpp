#include "math/KORMath3x3Matrix.h"

#include <gtest/gtest.h>

namespace {

TEST(MathMatrix, ColumnsAreTheImagesOfTheAxes) {
  const KORMathVector imageOfX(1.0, 2.0, 0.0);
  const KORMathVector imageOfY(0.0, 1.0, 3.0);
  const KORMathVector imageOfZ(4.0, 0.0, 1.0);
  const KORMath3x3Matrix m(imageOfX, imageOfY, imageOfZ);

  // 1-based (row, column): row 2 of column 1 is the Y component of the image of X.
  EXPECT_EQ(m.GetCoef(1, 1), 1.0);
  EXPECT_EQ(m.GetCoef(2, 1), 2.0);
  EXPECT_EQ(m.GetCoef(3, 2), 3.0);
  EXPECT_EQ(m.GetCoef(1, 3), 4.0);
  EXPECT_EQ(m.GetCoef(1, 2), 0.0);

  EXPECT_TRUE((m * KORMathVector(1.0, 0.0, 0.0)).IsEqual(imageOfX));
  EXPECT_TRUE((m * KORMathVector(0.0, 0.0, 1.0)).IsEqual(imageOfZ));

  EXPECT_TRUE(
      m.Transpose().IsEqual(KORMath3x3Matrix({1.0, 0.0, 4.0}, {2.0, 1.0, 0.0}, {0.0, 3.0, 1.0})));
}

TEST(MathMatrix, InverseUndoesTheProduct) {
  const KORMath3x3Matrix m({2.0, 0.0, 1.0}, {1.0, 3.0, 0.0}, {0.0, 1.0, 4.0});
  // Rows are (2 1 0), (0 3 1), (1 0 4); along the first row:
  // 2*(3*4 - 1*0) - 1*(0*4 - 1*1) + 0 = 25.
  EXPECT_NEAR(m.Determinant(), 25.0, 1e-12);

  KORMath3x3Matrix inverse;
  ASSERT_EQ(m.Inverse(inverse), S_OK);
  EXPECT_TRUE((m * inverse).IsEqual(KORMath3x3Matrix()));
  EXPECT_TRUE((inverse * m).IsEqual(KORMath3x3Matrix()));
  const KORMathVector v(1.0, -2.0, 5.0);
  EXPECT_TRUE((inverse * (m * v)).IsEqual(v));
}

TEST(MathMatrix, SingularInverseFailsAndLeavesTheOutputAlone) {
  // The third column is the sum of the first two.
  const KORMath3x3Matrix singular({1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, {5.0, 7.0, 9.0});
  const KORMath3x3Matrix marker({9.0, 0.0, 0.0}, {0.0, 9.0, 0.0}, {0.0, 0.0, 9.0});
  KORMath3x3Matrix inverse = marker;
  EXPECT_EQ(singular.Inverse(inverse), E_FAIL);
  EXPECT_TRUE(inverse.IsEqual(marker));

  // Nearly singular within the tolerance fails too.
  const KORMath3x3Matrix flat({1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, KOREpsilon / 2.0});
  EXPECT_EQ(flat.Inverse(inverse), E_FAIL);
}

} // namespace
