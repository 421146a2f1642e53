#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "device/HexBytes.h"
#include "device/ReportDescriptors.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyDefinitionText.h"
#include "keys/KeySlotsModel.h"
#include "store/win/WideText.h"
#include "ui/win/KeyTesterWindow.h"

namespace varnok {
namespace {

// A boot keyboard that sends the reports it was given, then stays quiet.
class PlayedKeyboard : public KeyboardInput {
public:
    explicit PlayedKeyboard(std::deque<std::vector<std::uint8_t>> reports)
        : reports_(std::move(reports)) {}
    const std::vector<std::vector<std::uint8_t>>& Descriptors() const override {
        return descriptors_;
    }
    const std::vector<std::string>& Notices() const override { return notices_; }
    Wait Next(int timeoutMilliseconds, std::size_t& interface, std::vector<std::uint8_t>& report,
              std::string&) override {
        if (reports_.empty()) {
            Sleep(static_cast<DWORD>(timeoutMilliseconds));
            return Wait::Timeout;
        }
        interface = 0;
        report = reports_.front();
        reports_.pop_front();
        return Wait::Report;
    }

private:
    std::deque<std::vector<std::uint8_t>> reports_;
    std::vector<std::vector<std::uint8_t>> descriptors_ = {
        descriptors::Join({descriptors::kBootKeyboard})};
    std::vector<std::string> notices_ = {"keys will also act on the desktop"};
};

std::vector<std::string> ListedLines(HWND tester) {
    std::vector<std::string> lines;
    const HWND list = FindWindowExW(tester, nullptr, L"LISTBOX", nullptr);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(Utf8FromWide(line));
    }
    return lines;
}

// The window's tester lists the input's notices, then each press as it arrives with the time,
// named by the core; Enter and Escape (IDOK, IDCANCEL) leave it open, its close box ends it.
TEST(KeyTesterWindow, ListsEachPressAsItArrives) {
    KeySlotsModel model{SlotMap(testing::TempDir())};
    std::string reason;
    ASSERT_TRUE(DefineKeyFromText(model, 1, kNormalMode, "Ctrl+C", reason)) << reason;
    auto keyboard = std::make_unique<PlayedKeyboard>(std::deque<std::vector<std::uint8_t>>{
        *ParseHexBytes("01 00 06 00 00 00 00 00"), *ParseHexBytes("00 00 00 00 00 00 00 00")});

    std::vector<std::string> lines;
    bool openAfterEnterAndEscape = false;
    std::thread user([&] {
        HWND tester = nullptr;
        for (int i = 0; i < 200 && tester == nullptr; ++i, Sleep(50)) {
            tester = FindWindowW(nullptr, L"Test keys");
        }
        for (int i = 0; i < 200 && tester != nullptr && ListedLines(tester).size() < 2;
             ++i, Sleep(50)) {
        }
        if (tester == nullptr) return;
        lines = ListedLines(tester);
        SendMessageW(tester, WM_COMMAND, IDOK, 0);
        SendMessageW(tester, WM_COMMAND, IDCANCEL, 0);
        openAfterEnterAndEscape = IsWindow(tester);
        PostMessageW(tester, WM_CLOSE, 0, 0);
    });
    ShowKeyTesterWindow(nullptr, std::move(keyboard), model, 0);
    user.join();

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "keys will also act on the desktop");
    EXPECT_TRUE(lines[1].ends_with("  Ctrl|C|,  as key 1 defines")) << lines[1];
    EXPECT_EQ(lines[1].size(), std::string("00:00:00  Ctrl|C|,  as key 1 defines").size());
    EXPECT_TRUE(openAfterEnterAndEscape);
}

}  // namespace
}  // namespace varnok
