#include "app/cli/ConsoleFlowHost.h"

#include <string>
#include <utility>

#include "flows/KeyboardFailureTexts.h"
#include "keys/MessageTexts.h"
#include "store/FileProblemTexts.h"
#include "store/SettingsStore.h"

namespace varnok {

namespace {

constexpr const char* kEraseLine = "\r\033[K";

}  // namespace

ConsoleFlowHost::ConsoleFlowHost(std::ostream& err, bool terminal, SettingsStore* settings,
                                 const std::atomic<bool>* stop,
                                 std::function<std::string()> accessAdvice)
    : err_(err),
      terminal_(terminal),
      settings_(settings),
      stop_(stop),
      accessAdvice_(std::move(accessAdvice)) {}

ConsoleFlowHost::~ConsoleFlowHost() {
    EndProgress();
}

void ConsoleFlowHost::ShowMessage(MessageId id) {
    ShowKeyboardFailure(id, std::nullopt);
}

void ConsoleFlowHost::ShowKeyboardFailure(MessageId id,
                                          const std::optional<KeyboardFailure>& failure) {
    EndProgress();
    lastMessage_ = id;
    err_ << "varnok-cli: " << MessageFor(id, 0).text;
    const std::string advice =
        (id == MessageId::SaveNotConnected || id == MessageId::ReadNotConnected) && accessAdvice_
            ? accessAdvice_()
            : std::string();
    if (!advice.empty()) {
        err_ << "\nvarnok-cli: " << advice;
    } else if (const std::string reason = failure ? DescribeKeyboardFailure(*failure, 0) : "";
               !reason.empty()) {
        err_ << " " << reason;
    }
    err_ << "\n";
}

void ConsoleFlowHost::ShowFileProblem(MessageId id, const FileResult& result) {
    EndProgress();
    // A copy kept of a file that ended in part of a record: the save itself was done.
    fileLeftAlone_ = fileLeftAlone_ || result.problem != FileProblem::PartRecordKept;
    err_ << "varnok-cli: " << MessageFor(id, 0).text << " " << DescribeFileResult(result, 0)
         << "\n";
}

void ConsoleFlowHost::ShowUnfinishedSave(MessageId id, const UnfinishedSave& save) {
    EndProgress();
    lastMessage_ = id;
    err_ << "varnok-cli: " << MessageFor(id, 0).text << " " << DescribeUnfinishedSave(save, 0)
         << "\n";
}

void ConsoleFlowHost::ReportProgress(const FlowProgress& progress) {
    if (!terminal_) return;
    err_ << kEraseLine << ProgressText(progress, 0) << "..." << std::flush;
    progressShown_ = true;
}

void ConsoleFlowHost::StoreFunctionMode(int row, std::int32_t mode) {
    if (settings_ == nullptr || row < 1 || row >= static_cast<int>(kFunctionModeSettings.size())) {
        return;
    }
    if (const FileResult stored =
            settings_->WriteSetting(kSettingsSection, kFunctionModeSettings[row], mode);
        !stored && !fileLeftAlone_) {
        ShowFileProblem(MessageId::SettingsNotSaved, stored);
    }
}

bool ConsoleFlowHost::StopRequested() const {
    return stop_ != nullptr && stop_->load();
}

void ConsoleFlowHost::EndProgress() {
    if (!progressShown_) return;
    err_ << kEraseLine << std::flush;
    progressShown_ = false;
}

}  // namespace varnok
