#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "flows/FlowHost.h"

namespace varnok {

class SettingsStore;

// The flows' host for the command line. Messages go to standard error, in English, as
// "varnok-cli: <text>". Progress goes to standard error as one line rewritten in place, and
// only when that is a terminal: a script's log gets nothing extra. Function modes a read-back
// finds are kept in the settings only when a store is given (read --store). When no keyboard
// is found, accessAdvice says whether one is there that refuses this user, and how to fix it.
class ConsoleFlowHost : public FlowHost {
public:
    // stop, when given, is set from outside (Ctrl+C) to end a flow at the next record.
    ConsoleFlowHost(std::ostream& err, bool terminal, SettingsStore* settings,
                    const std::atomic<bool>* stop, std::function<std::string()> accessAdvice);
    ~ConsoleFlowHost() override;

    void ShowMessage(MessageId id) override;
    // The message and the system's reason on one line; for "not connected", the access advice
    // on a line of its own instead when there is one.
    void ShowKeyboardFailure(MessageId id, const std::optional<KeyboardFailure>& failure) override;
    // The message and "<file>: <reason>" on one line.
    void ShowFileProblem(MessageId id, const FileResult& result) override;
    // The message and what the keyboard now holds on one line.
    void ShowUnfinishedSave(MessageId id, const UnfinishedSave& save) override;
    void ReportProgress(const FlowProgress& progress) override;
    void StoreFunctionMode(int row, std::int32_t mode) override;
    bool StopRequested() const override;

    // Ends a progress line, if one is shown, so that the next output starts on a clean line.
    void EndProgress();
    // The last message a flow showed, if any.
    const std::optional<MessageId>& LastMessage() const { return lastMessage_; }
    // Whether a flow left a file alone (and said so).
    bool FileLeftAlone() const { return fileLeftAlone_; }

private:
    std::ostream& err_;
    bool terminal_;
    SettingsStore* settings_;
    const std::atomic<bool>* stop_;
    std::function<std::string()> accessAdvice_;
    bool progressShown_ = false;
    std::optional<MessageId> lastMessage_;
    bool fileLeftAlone_ = false;
};

}  // namespace varnok
