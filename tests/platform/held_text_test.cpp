#include "platform/common/held_text.h"

#include <gtest/gtest.h>

namespace padwire {

// A held text is due once the changes pause for 50 ms, or a second after the first one that
// was not drawn, however often it changes; taking it releases it.
TEST(HeldText, DueWhenQuietOrAtTheLatestASecondAfterTheFirstChange) {
  HeldText held;
  EXPECT_FALSE(held.due_in(0).has_value());
  held.hold("a", 100);
  EXPECT_EQ(held.due_in(100), 50u);
  for (std::uint64_t t = 120; t < 1100; t += 20) held.hold("b", t);
  EXPECT_EQ(held.due_in(1090), 10u);  // 100 + 1000, before 1080 + 50
  EXPECT_EQ(held.due_in(2000), 0u);
  EXPECT_EQ(held.take(), "b");
  EXPECT_FALSE(held.take().has_value());
  held.hold("c", 3000);  // a new first change
  EXPECT_EQ(held.due_in(3000), 50u);
  held.drop();
  EXPECT_FALSE(held.due_in(3000).has_value());
}

// Only the characters that differ are replaced; the common start and end never overlap.
TEST(HeldText, ChangedSpanIsWhatLiesBetweenTheCommonStartAndEnd) {
  EXPECT_FALSE(changed_span(L"X=0\r\nButton(1)=0\r\n", L"X=0\r\nButton(1)=0\r\n"));
  const struct {
    const wchar_t* shown;
    const wchar_t* wanted;
    TextChange change;
  } cases[] = {
      {L"X=0\r\nButton(1)=0\r\n", L"X=0\r\nButton(1)=128\r\n", {15, 16, 18}},
      {L"aa", L"aaa", {2, 2, 3}},
      {L"aaa", L"a", {1, 3, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(changed_span(c.shown, c.wanted), c.change) << c.wanted;
  // In UTF-16 a character whose first or second unit alone differs is replaced whole.
  EXPECT_EQ(changed_span(u"a\U0001F3AE", u"a\U0001F3AF"), (TextChange{1, 3, 3}));
  EXPECT_EQ(changed_span(u"\U0001F3AEa", u"\U0001F7AEa"), (TextChange{0, 2, 2}));
}

}  // namespace padwire
