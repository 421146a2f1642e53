#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "flows/FlowHost.h"
#include "flows/KeyboardFailureTexts.h"
#include "store/FileProblemTexts.h"

namespace varnok {

// A flow host that writes down what a flow tells the user, so flows run without a window.
class RecordingFlowHost : public FlowHost {
public:
    void ShowMessage(MessageId id) override {
        messages.push_back(std::string(MessageFor(id, language).text));
    }
    // "<text> <the system's reason>", or "<text>" without one
    void ShowKeyboardFailure(MessageId id, const std::optional<KeyboardFailure>& failure) override {
        const std::string reason = failure ? DescribeKeyboardFailure(*failure, language) : "";
        messages.push_back(std::string(MessageFor(id, language).text) +
                           (reason.empty() ? "" : " " + reason));
    }
    // "<text> <file>: <reason>"
    void ShowFileProblem(MessageId id, const FileResult& result) override {
        messages.push_back(std::string(MessageFor(id, language).text) + " " +
                           DescribeFileResult(result, language));
    }
    // "<text> <what the keyboard holds>"
    void ShowUnfinishedSave(MessageId id, const UnfinishedSave& save) override {
        messages.push_back(std::string(MessageFor(id, language).text) + " " +
                           DescribeUnfinishedSave(save, language));
    }
    void ReportProgress(const FlowProgress& progress) override {
        steps.push_back(std::to_string(progress.step) + "/" + std::to_string(progress.steps));
        if (onProgress) onProgress(progress);
    }
    void StoreFunctionMode(int row, std::int32_t mode) override { modes.emplace_back(row, mode); }
    bool StopRequested() const override { return stop; }

    // The user's language: 0 English, otherwise Chinese.
    std::int32_t language = 0;
    std::vector<std::string> messages;
    std::vector<std::string> steps;  // "step/steps" of each progress report
    std::vector<std::pair<int, std::int32_t>> modes;
    bool stop = false;
    // Called after each progress report; may ask for a stop.
    std::function<void(const FlowProgress&)> onProgress;
};

}  // namespace varnok
