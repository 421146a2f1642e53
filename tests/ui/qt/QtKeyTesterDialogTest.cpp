#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <chrono>
#include <deque>
#include <thread>

#include "device/HexBytes.h"
#include "device/KeyboardInput.h"
#include "device/ReportDescriptors.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyDefinitionText.h"
#include "keys/KeySlotsModel.h"
#include "ui/qt/QtKeyTesterDialog.h"

namespace varnok {
namespace {

// The keyboard's input as a script: its descriptor, a notice, and reports handed out one per
// wait; then nothing, or a failure.
class ScriptedInput : public KeyboardInput {
public:
    ScriptedInput(std::vector<const char*> reports, std::string failure)
        : failure_(std::move(failure)) {
        for (const char* report : reports) reports_.push_back(*ParseHexBytes(report));
    }
    const std::vector<std::vector<std::uint8_t>>& Descriptors() const override {
        return descriptors_;
    }
    const std::vector<std::string>& Notices() const override { return notices_; }
    Wait Next(int timeout, std::size_t& interface, std::vector<std::uint8_t>& report,
              std::string& error) override {
        if (!reports_.empty()) {
            interface = 0;
            report = reports_.front();
            reports_.pop_front();
            return Wait::Report;
        }
        if (!failure_.empty()) {
            error = failure_;
            return Wait::Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
        return Wait::Timeout;
    }

private:
    std::vector<std::vector<std::uint8_t>> descriptors_ = {
        descriptors::Join({descriptors::kProgrammableKeyboard})};
    std::vector<std::string> notices_ = {"keys will also act on the desktop: /dev/input/event9"};
    std::deque<std::vector<std::uint8_t>> reports_;
    std::string failure_;
};

// The tester lists its notices, then each press as it arrives with the key that defines it,
// and why it ended when the keyboard went away; in the window's language.
TEST(QtKeyTesterDialog, ListsEachPressAsItArrives) {
    KeySlotsModel model{SlotMap(testing::TempDir())};
    std::string reason;
    ASSERT_TRUE(DefineKeyFromText(model, 4, kNormalMode, "Ctrl+C", reason)) << reason;
    const struct {
        std::int32_t language;
        std::string failure;
        std::vector<QString> endings;  // of each line, after the time
    } cases[] = {
        {0, "", {"desktop: /dev/input/event9", "Ctrl|C|,  as key 4 defines"}},
        {1,
         "the keyboard went away (No such device)",
         {"desktop: /dev/input/event9", "Ctrl|C|,  与按键 4 的定义相同",
          "测试已结束：the keyboard went away (No such device)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        QtKeyTesterDialog dialog(
            std::make_unique<ScriptedInput>(
                std::vector{"01 01 00 06 00 00 00 00 00", "01 00 00 00 00 00 00 00 00"}, c.failure),
            model, c.language, nullptr);
        QListWidget* lines = dialog.Lines();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return lines->count() == static_cast<int>(c.endings.size()); }, 5000));
        for (int i = 0; i < lines->count() && i < static_cast<int>(c.endings.size()); ++i) {
            EXPECT_TRUE(lines->item(i)->text().endsWith(c.endings[i]))
                << lines->item(i)->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace varnok
