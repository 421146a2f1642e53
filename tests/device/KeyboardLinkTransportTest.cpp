#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "support/HidFakePlatform.h"
#include "support/VirtualClock.h"

namespace varnok {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Distinct bytes, so that a report cut at a wrong offset shows.
std::vector<std::uint8_t> Counting(std::size_t length) {
    std::vector<std::uint8_t> block(length);
    std::iota(block.begin(), block.end(), std::uint8_t{0x10});
    return block;
}

std::vector<std::string> SetLines(const SimulatedKeyboard& keyboard) {
    std::vector<std::string> lines;
    for (const std::string& line : keyboard.Transcript()) {
        if (line.starts_with("set")) {
            lines.push_back(line);
        }
    }
    return lines;
}

class KeyboardLinkTransport : public ::testing::Test {
protected:
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    KeyboardLink link{keyboard};
};

TEST_F(KeyboardLinkTransport, CutsBlocksIntoPaddedReportsPausedBetweenButNotAfter) {
    struct Case {
        std::size_t length;
        std::vector<std::string> transcript;
    };
    const std::vector<Case> cases = {
        {0, {}},
        {2, {"set 06 10 11 00 00 00 00 00"}},
        {7, {"set 06 10 11 12 13 14 15 16"}},
        {11, {"set 06 10 11 12 13 14 15 16", "pause 200", "set 06 17 18 19 1A 00 00 00"}},
        {14, {"set 06 10 11 12 13 14 15 16", "pause 200", "set 06 17 18 19 1A 1B 1C 1D"}},
    };
    ASSERT_TRUE(link.Open());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const auto before = static_cast<std::ptrdiff_t>(keyboard.Transcript().size());
        const double start = clock.NowMilliseconds();
        EXPECT_TRUE(link.WriteBlock(Counting(c.length)));
        const std::vector<std::string> sent(keyboard.Transcript().begin() + before,
                                            keyboard.Transcript().end());
        EXPECT_THAT(sent, ElementsAreArray(c.transcript));
        const auto pauses = std::count(sent.begin(), sent.end(), "pause 200");
        EXPECT_EQ(clock.NowMilliseconds() - start, 200.0 * pauses);
    }
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(KeyboardLinkTransport, LongestBlockIsSentAndLongerRefusedUnsent) {
    ASSERT_TRUE(link.Open());
    EXPECT_FALSE(link.WriteBlock(Counting(256)));
    EXPECT_THAT(keyboard.Transcript(), IsEmpty());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.WriteBlock(Counting(255)));
    EXPECT_EQ(keyboard.SetCount(), 37u);
    EXPECT_EQ(clock.NowMilliseconds(), 36 * 200.0);
}

TEST_F(KeyboardLinkTransport, SelectsAPageOnlyWhenItChanges) {
    struct Case {
        std::string name;
        std::vector<std::uint8_t> pages;
        std::vector<std::string> selects;
    };
    const std::vector<Case> cases = {
        {"page 3 twice", {3, 3}, {"set 06 BB 03 00 00 00 00 00"}},
        {"pages 3, 4, 3",
         {3, 4, 3},
         {"set 06 BB 03 00 00 00 00 00", "set 06 BB 04 00 00 00 00 00",
          "set 06 BB 03 00 00 00 00 00"}},
        {"page 255 straight after discovery", {255}, {}},
        {"page 255, then 0", {255, 0}, {"set 06 BB 00 00 00 00 00 00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock caseClock;
        SimulatedKeyboard caseKeyboard(caseClock);
        KeyboardLink caseLink(caseKeyboard);
        for (std::uint8_t page : c.pages) {
            FeatureReport buffer{};
            EXPECT_TRUE(caseLink.ReadPage(page, &buffer));
        }
        EXPECT_THAT(SetLines(caseKeyboard), ElementsAreArray(c.selects));
        EXPECT_EQ(caseKeyboard.GetCount(), c.pages.size());
    }
}

TEST(KeyboardLinkPageRead, FillsReportIdAndPageIntoTheRequest) {
    HidFakePlatform platform({HidFakeDevice{}});
    KeyboardLink link(platform);
    FeatureReport buffer{0, 0, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77};
    ASSERT_TRUE(link.ReadPage(5, &buffer));
    ASSERT_EQ(platform.getRequests.size(), 1u);
    EXPECT_EQ(platform.getRequests[0][0], 0x06);
    EXPECT_EQ(platform.getRequests[0][1], 0x05);
}

TEST_F(KeyboardLinkTransport, EveryNewSearchForgetsTheSelectedPage) {
    FeatureReport buffer{};
    ASSERT_TRUE(link.ReadPage(3, &buffer));
    link.Close();
    ASSERT_TRUE(link.ReadPage(3, &buffer));  // opens the keyboard again
    EXPECT_THAT(SetLines(keyboard),
                ElementsAre("set 06 BB 03 00 00 00 00 00", "set 06 BB 03 00 00 00 00 00"));
}

TEST_F(KeyboardLinkTransport, RefusedDataReportClosesTheLinkAndLaterBlocksSendNothing) {
    ASSERT_TRUE(link.Open());
    keyboard.RefuseSet(2);
    EXPECT_FALSE(link.WriteBlock(Counting(11)));
    EXPECT_THAT(keyboard.Transcript(), ElementsAre("set 06 10 11 12 13 14 15 16", "pause 200",
                                                   "set 06 17 18 19 1A 00 00 00 failed"));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
    EXPECT_FALSE(link.WriteBlock(Counting(2)));
    EXPECT_FALSE(link.WriteBlock({}));
    EXPECT_EQ(keyboard.Transcript().size(), 3u);
}

TEST_F(KeyboardLinkTransport, RefusedSelectOrGetKeepsTheLinkOpen) {
    FeatureReport buffer{};
    keyboard.RefuseSet(1);
    EXPECT_FALSE(link.ReadPage(3, &buffer));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(keyboard.GetCount(), 0u);
    // The page was not selected, so the next read selects it again; then a refused get keeps
    // the selection and the read after it needs no select.
    keyboard.RefuseGet(1);
    EXPECT_FALSE(link.ReadPage(3, &buffer));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.ReadPage(3, &buffer));
    EXPECT_THAT(keyboard.Transcript(),
                ElementsAre("set 06 BB 03 00 00 00 00 00 failed", "set 06 BB 03 00 00 00 00 00",
                            "get 06 03 00 00 00 00 00 00 failed", "get 06 FF FF FF FF FF FF FF"));
}

TEST_F(KeyboardLinkTransport, NothingIsSentWithoutABufferOrAKeyboard) {
    EXPECT_FALSE(link.ReadPage(0, nullptr));
    EXPECT_FALSE(link.IsOpen()) << "a read without a buffer does not search";
    EXPECT_FALSE(link.WriteBlock(Counting(2))) << "a write never opens the keyboard";
    EXPECT_FALSE(link.WriteBlock({}));
    keyboard.Unplug();
    FeatureReport buffer{};
    EXPECT_FALSE(link.ReadPage(0, &buffer));
    EXPECT_FALSE(link.Open());
    EXPECT_THAT(keyboard.Transcript(), IsEmpty());
}

}  // namespace
}  // namespace varnok
