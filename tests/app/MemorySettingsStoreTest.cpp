#include <gtest/gtest.h>

#include "app/MemorySettingsStore.h"

namespace varnok {
namespace {

TEST(MemorySettingsStore, KeepsValuesPerSectionAndName) {
    MemorySettingsStore store;
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 7), 7);
    store.WriteSetting("Settings", "keynum", -1);
    store.WriteSetting("Other", "keynum", 3);
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 7), -1);
    EXPECT_EQ(store.ReadSetting("Other", "keynum", 7), 3);
    EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 0);
}

}  // namespace
}  // namespace varnok
