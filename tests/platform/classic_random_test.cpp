// The random numbers every back end shares.
#include "platform/common/classic_random.h"

#include <gtest/gtest.h>

namespace padwire {
namespace {

TEST(ClassicRandom, NumbersLieInTheUnitIntervalAndRepeatForASeed) {
  ClassicRandom a, b;
  a.seed(3600.0 * 13 + 60 * 7 + 9);
  b.seed(3600.0 * 13 + 60 * 7 + 9);
  int high = 0;
  for (int i = 0; i < 20000; ++i) {
    const float r = a.next();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ASSERT_EQ(r, b.next());
    high += r > 0.95f;
  }
  EXPECT_NEAR(high, 1000, 150) << "about one in twenty above 0.95";
  ClassicRandom c;
  c.seed(12.0);
  a.seed(13.0);
  EXPECT_NE(a.next(), c.next());
}

}  // namespace
}  // namespace padwire
