#include "app/StartUp.h"

#include <system_error>
#include <vector>

#include "device/SimulatedKeyboard.h"
#include "store/CutOffChangeTexts.h"
#include "store/FileProblemTexts.h"
#include "store/PathText.h"
#include "store/QuotedText.h"
#include "store/ReplaceFile.h"
#include "store/SameFile.h"
#include "store/SlotMap.h"

namespace varnok {
namespace {

std::optional<std::filesystem::path> PathOf(const std::optional<std::string>& utf8) {
    if (!utf8) return std::nullopt;
    return PathFromText(*utf8);
}

// What the files the trace and the map must not go into are, as the refusals name them.
constexpr const char* kMapFileIs = "the file Varnok keeps the keys' texts in";
constexpr const char* kKeyTableIs = "the simulated keyboard's key table";

}  // namespace

StartUp::StartUp(const CommandLineOptions& options, SystemHid systemHid, std::int32_t language)
    : systemHid_(std::move(systemHid)),
      language_(language),
      keyTable_(PathOf(options.virtualKeyboardFile)),
      traceFile_(PathOf(options.hidTraceFile)),
      mapOption_(PathOf(options.mapFile)) {}

bool StartUp::SettleMap(const std::optional<std::filesystem::path>& dataFolder,
                        SettingsStore* settings, std::string& error, MapFileLocation::Use use) {
    std::error_code noWorkingDirectory;
    map_ = MapFileLocation::Settle(
        mapOption_, dataFolder, std::filesystem::current_path(noWorkingDirectory), language_, use);
    error = map_.error;
    if (error.empty() && keyTable_ && SameFile(map_.file, *keyTable_)) {
        // Each save would write the map's records over the keyboard's table, and the other way.
        error = PathInMessage(map_.file) +
                (language_ == 0
                     ? std::string(": is ") + kKeyTableIs + "; the key map needs a file of its own"
                     // ：是模拟键盘的按键表；按键映射需要单独的文件
                     : "\uFF1A\u662F\u6A21\u62DF\u952E\u76D8\u7684\u6309\u952E\u8868"
                       "\uFF1B\u6309\u952E\u6620\u5C04\u9700\u8981\u5355\u72EC"
                       "\u7684\u6587\u4EF6");
    }
    if (error.empty()) {
        // Before anything reads the map. A change that cannot be finished now is named when
        // the map is loaded, which then refuses it.
        CutOffChange found;
        if (SlotMap::InFile(map_.file, settings).FinishCutOffSave(found) &&
            found.end != CutOffChange::End::None) {
            const std::string said =
                PathInMessage(map_.file) + DescribeCutOffChange(found, language_);
            map_.notice += (map_.notice.empty() ? "" : "\n") + said;
        }
    }
    return error.empty();
}

HidPlatform* StartUp::Keyboard(bool maySave, std::string& error) {
    if (trace_) return trace_.get();
    if (keyboard_) return keyboard_.get();

    std::unique_ptr<HidPlatform> keyboard;
    if (keyTable_) {
        // The simulated keyboard rewrites its key table after every record it receives: find
        // out now, not in the middle of a save, whether that can work.
        if (const FileResult check = CheckReplaceable(*keyTable_); maySave && !check) {
            error = (language_ == 0 ? "the key table cannot be written: "
                                    // 按键表无法写入：
                                    : "\u6309\u952E\u8868\u65E0\u6CD5\u5199\u5165\uFF1A") +
                    DescribeFileResult(check, language_);
            return nullptr;
        }
        keyboard = SimulatedKeyboard::FromFile(*keyTable_, clock_, error);
        if (!keyboard) return nullptr;
    } else {
        keyboard = systemHid_();
    }

    // The trace, once every file it must not go into is known.
    if (traceFile_) {
        std::vector<HidTrace::ProtectedFile> protectedFiles = {{map_.file, kMapFileIs}};
        if (keyTable_) protectedFiles.push_back({*keyTable_, kKeyTableIs});
        trace_ = HidTrace::ToFile(*keyboard, clock_, *traceFile_, protectedFiles, error);
        if (!trace_) return nullptr;
    }
    keyboard_ = std::move(keyboard);
    return trace_ ? static_cast<HidPlatform*>(trace_.get()) : keyboard_.get();
}

}  // namespace varnok
