#include "platform/sim/memory_store.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "stored_shapes.h"

namespace padwire::sim {
namespace {

TEST(MemoryStore, SectionsAndKeysIgnoreCaseAndKeepTheirFirstSpelling) {
  MemoryStore store;
  store.put("Padwire", "Names", "1", "Doom");
  ASSERT_NE(store.find("padwire", "names", "1"), nullptr);
  EXPECT_EQ(*store.find("PADWIRE", "nAmEs", "1"), "Doom");

  store.put("Padwire", "NAMES", "1", "Quake");  // same value, other spelling
  const auto all = store.sorted("Padwire");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].section, "Names");
  EXPECT_EQ(all[0].value, "Quake");
}

TEST(MemoryStore, SortsBySectionThenKeyAsLowerCaseText) {
  MemoryStore store;
  store.put("Padwire", "custom", "2", "b");
  store.put("Padwire", "Custom", "10", "a");
  store.put("Padwire", "Beta", "Z", "z");
  store.put("Padwire", "Custom", "Last", "3");
  store.put("Other", "Custom", "x", "ignored");
  const auto all = store.sorted("Padwire");
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].section + "/" + all[0].key, "Beta/Z");
  EXPECT_EQ(all[1].key, "10");  // "10" sorts before "2" as text
  EXPECT_EQ(all[2].key, "2");
  EXPECT_EQ(all[3].key, "Last");
}

TEST(SimSettingsStore, ReadsGiveTheFallbackAndCreateNothing) {
  SimWorld world;
  SimPlatform sim(world);
  SettingsStore& settings = sim.platform().settings;
  EXPECT_EQ(settings.get("Padwire", "Custom", "Last", "2"), "2");
  EXPECT_EQ(settings.get("Padwire", "Custom", "Last", ""), "");
  EXPECT_TRUE(world.store.sorted("Padwire").empty());
  EXPECT_TRUE(world.trace.lines().empty());

  EXPECT_TRUE(settings.save("Padwire", "Names", "1", "Doom"));
  EXPECT_EQ(settings.get("Padwire", "names", "1", "x"), "Doom");
  ASSERT_EQ(world.trace.lines().size(), 1u);
  EXPECT_EQ(world.trace.lines()[0], R"(store "Names" "1" "Doom")");
}

TEST(SimSettingsStore, TextOfEveryShapeIsKeptAsWrittenAndFallbacksComeBackAsGiven) {
  SimWorld world;
  SimPlatform sim(world);
  SettingsStore& settings = sim.platform().settings;
  for (const auto& shape : test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    EXPECT_EQ(settings.get("Padwire", "Custom", "Missing", shape.text), shape.text);
    EXPECT_TRUE(settings.save("Padwire", "Custom", "Value", shape.text));
    EXPECT_EQ(settings.get("Padwire", "custom", "VALUE", "fallback"), shape.text);
  }
}

}  // namespace
}  // namespace padwire::sim
