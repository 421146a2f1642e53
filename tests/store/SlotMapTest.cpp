#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/SlotMap.h"

namespace varnok {
namespace {

constexpr SlotData kCtrlC = {0x01, 0x01, 0x00, 0x06};
constexpr SlotData kLeftClick = {0x04, 0x01};

// One call on the map and what it must answer.
struct Step {
    enum Kind { Set, Remove } kind;
    std::string name;
    std::string text;
    SlotData data;
    std::uint8_t flag;
    bool removeResult;
};

struct MapCase {
    const char* label;
    std::vector<Step> steps;
    std::vector<SlotEntry> expected;  // every entry the map must hold afterwards
};

TEST(SlotMap, SetRemoveAndFindFollowTheEntryRules) {
    const std::vector<MapCase> cases = {
        {"new entry with an empty text has no text",
         {{Step::Set, "key3", "", kCtrlC, 0, false}},
         {{0, "key3", "", kCtrlC}}},
        {"empty text keeps the old text, replaces data and flag",
         {{Step::Set, "key2", "Ctrl|C|,", kCtrlC, 0, false},
          {Step::Set, "key2", "", kLeftClick, 7, false}},
         {{7, "key2", "Ctrl|C|,", kLeftClick}}},
        {"a new text replaces the old one",
         {{Step::Set, "key2", "Ctrl|C|,", kCtrlC, 0, false},
          {Step::Set, "key2", "Left Click", kLeftClick, 0, false}},
         {{0, "key2", "Left Click", kLeftClick}}},
        {"names compare exactly, case included",
         {{Step::Set, "key1", "a", kCtrlC, 0, false},
          {Step::Set, "Key1", "b", kLeftClick, 0, false}},
         {{0, "key1", "a", kCtrlC}, {0, "Key1", "b", kLeftClick}}},
        {"removing takes the entry out",
         {{Step::Set, "key1", "a", kCtrlC, 0, false},
          {Step::Set, "key4", "b", kCtrlC, 0, false},
          {Step::Remove, "key1", "", {}, 0, true}},
         {{0, "key4", "b", kCtrlC}}},
        {"removing an empty name fails and changes nothing",
         {{Step::Set, "key1", "a", kCtrlC, 0, false}, {Step::Remove, "", "", {}, 0, false}},
         {{0, "key1", "a", kCtrlC}}},
        {"removing a name without entry succeeds and changes nothing",
         {{Step::Set, "key1", "a", kCtrlC, 0, false}, {Step::Remove, "key5", "", {}, 0, true}},
         {{0, "key1", "a", kCtrlC}}},
        {"a removed name can be set again from scratch",
         {{Step::Set, "key1", "a", kCtrlC, 3, false},
          {Step::Remove, "key1", "", {}, 0, true},
          {Step::Set, "key1", "", kLeftClick, 0, false}},
         {{0, "key1", "", kLeftClick}}},
    };
    for (const MapCase& c : cases) {
        SCOPED_TRACE(c.label);
        SlotMap map;
        for (const Step& step : c.steps) {
            if (step.kind == Step::Set) {
                map.Set(step.name, step.text, step.data, step.flag);
            } else {
                EXPECT_EQ(map.Remove(step.name), step.removeResult) << step.name;
            }
        }
        EXPECT_EQ(map.Size(), c.expected.size());
        for (const SlotEntry& expected : c.expected) {
            const SlotEntry* found = map.Find(expected.name);
            ASSERT_NE(found, nullptr) << expected.name;
            EXPECT_EQ(*found, expected);
        }
    }
}

TEST(SlotMap, FoundEntryStaysValidWhileOthersChange) {
    SlotMap map;
    map.Set("key1", "a", kCtrlC, 0);
    const SlotEntry* entry = map.Find("key1");
    for (const char* name : {"key0", "key2", "key3", "key4", "key5", "key6"}) {
        map.Set(name, "x", kLeftClick, 0);
    }
    map.Remove("key6");
    EXPECT_EQ(entry, map.Find("key1"));
    EXPECT_EQ(entry->text, "a");
    EXPECT_EQ(map.Find("key6"), nullptr);
}

}  // namespace
}  // namespace varnok
