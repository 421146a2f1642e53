#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/KeyReportList.h"

namespace varnok {
namespace {

// Key codes of the keys the cases press.
constexpr std::uint8_t kCtrl = 0x1D, kShift = 0x2A, kAlt = 0x38;
constexpr std::uint8_t kA = 0x1E, kB = 0x30, kC = 0x2E, kD = 0x20, kE = 0x12, kF = 0x21;
constexpr std::uint8_t kKeypadStar = 0x9A;  // captured keypad "*": no usage

enum class Op { Add, Remove, Record, Clear };

struct Step {
    Op op;
    std::uint8_t keyCode = 0;
    bool accepted = true;  // what AddKey answers
};

struct Case {
    std::string name;
    std::vector<Step> steps;
    KeyReport building;
    std::uint8_t fillIndex;
    std::vector<KeyReport> recorded;
    std::uint8_t count;
    bool isRecorded;
};

TEST(KeyReportList, EditsTheChordAndRecordsIt) {
    const Case cases[] = {
        {"Ctrl+C recorded",
         {{Op::Add, kCtrl}, {Op::Add, kC}, {Op::Record}},
         {0x01, 0, 0, 0, 0, 0, 0, 0},
         3,
         {{0x01, 0x01, 0, 0x06, 0, 0, 0, 0}},
         1,
         true},
        {"sixth usage refused, modifier still taken",
         {{Op::Add, kA},
          {Op::Add, kB},
          {Op::Add, kC},
          {Op::Add, kD},
          {Op::Add, kE},
          {Op::Add, kF, false},
          {Op::Add, kShift}},
         {0x01, 0x02, 0, 0x04, 0x05, 0x06, 0x07, 0x08},
         8,
         {},
         0,
         false},
        {"remove in the middle closes the gap",
         {{Op::Add, kA}, {Op::Add, kB}, {Op::Add, kC}, {Op::Remove, kB}, {Op::Add, kD}},
         {0x01, 0, 0, 0x04, 0x06, 0x07, 0, 0},
         6,
         {},
         0,
         false},
        {"remove takes the first of duplicates",
         {{Op::Add, kA}, {Op::Add, kB}, {Op::Add, kA}, {Op::Remove, kA}},
         {0x01, 0, 0, 0x05, 0x04, 0, 0, 0},
         5,
         {},
         0,
         false},
        {"removing a key not in the chord keeps it",
         {{Op::Add, kA}, {Op::Add, kB}, {Op::Remove, kC}, {Op::Remove, 0x00}},
         {0x01, 0, 0, 0x04, 0x05, 0, 0, 0},
         5,
         {},
         0,
         false},
        {"remove clears a modifier bit only",
         {{Op::Add, kCtrl}, {Op::Add, kAlt}, {Op::Add, kA}, {Op::Remove, kCtrl}},
         {0x01, 0x04, 0, 0x04, 0, 0, 0, 0},
         4,
         {},
         0,
         false},
        {"a chord is recorded once until a key is added",
         {{Op::Add, kA},
          {Op::Record},
          {Op::Record},
          {Op::Add, kKeypadStar, false},
          {Op::Record},
          {Op::Add, kB},
          {Op::Record}},
         {0x01, 0, 0, 0, 0, 0, 0, 0},
         3,
         {{0x01, 0, 0, 0x04, 0, 0, 0, 0}, {0x01, 0, 0, 0x05, 0, 0, 0, 0}},
         2,
         true},
        {"an empty chord can be recorded",
         {{Op::Record}},
         {0x01, 0, 0, 0, 0, 0, 0, 0},
         3,
         {{0x01, 0, 0, 0, 0, 0, 0, 0}},
         1,
         true},
        {"clear forgets everything",
         {{Op::Add, kA}, {Op::Record}, {Op::Add, kCtrl}, {Op::Add, kB}, {Op::Clear}},
         {0x01, 0, 0, 0, 0, 0, 0, 0},
         3,
         {},
         0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyReportList list;
        for (const Step& step : c.steps) {
            switch (step.op) {
                case Op::Add:
                    EXPECT_EQ(list.AddKey(step.keyCode), step.accepted)
                        << "key code " << int(step.keyCode);
                    break;
                case Op::Remove:
                    list.RemoveKey(step.keyCode);
                    break;
                case Op::Record:
                    list.RecordChord();
                    break;
                case Op::Clear:
                    list.Clear();
                    break;
            }
        }
        EXPECT_EQ(list.ReportUnderConstruction(), c.building);
        EXPECT_EQ(list.FillIndex(), c.fillIndex);
        EXPECT_EQ(list.RecordedReports(), c.recorded);
        EXPECT_EQ(list.RecordedCount(), c.count);
        EXPECT_EQ(list.IsRecorded(), c.isRecorded);
    }
}

TEST(KeyReportList, CopiesAndLoadsWholeReportsOnly) {
    const std::vector<std::uint8_t> two = {0x01, 0x01, 0, 0x06, 0, 0, 0, 0,
                                           0x04, 0x81, 0, 0,    0, 0, 0, 0xFF};
    struct Case {
        std::size_t sourceBytes;
        std::size_t count;
        std::size_t capacity;
        bool copiedAny;
        std::size_t copied;
    };
    const Case cases[] = {
        {16, 2, 8, true, 8},  {16, 2, 20, true, 16}, {16, 2, 7, true, 0},
        {16, 1, 16, true, 8}, {16, 5, 24, true, 16},  // count beyond the source
        {15, 2, 16, true, 8},                         // a cut second report is not read
        {7, 1, 8, false, 0},  {16, 0, 8, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceBytes << " bytes, count " << c.count);
        // Exactly sized, so that a read past the source shows under the address sanitizer.
        const std::vector<std::uint8_t> source(two.begin(), two.begin() + c.sourceBytes);
        KeyReportList list;
        list.AddKey(kA);
        list.LoadReports(source, c.count);
        EXPECT_EQ(list.ReportUnderConstruction()[3], 0x04);

        std::vector<std::uint8_t> destination(c.capacity, 0xEE);
        std::size_t copied = 99;
        EXPECT_EQ(list.CopyReports(destination, copied), c.copiedAny);
        EXPECT_EQ(copied, c.copied);
        EXPECT_TRUE(std::equal(destination.begin(), destination.begin() + c.copied, two.begin()));
        EXPECT_TRUE(std::all_of(destination.begin() + c.copied, destination.end(),
                                [](std::uint8_t b) { return b == 0xEE; }));
    }
}

}  // namespace
}  // namespace varnok
