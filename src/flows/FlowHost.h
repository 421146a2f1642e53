#pragma once

#include <cstdint>
#include <optional>

#include "device/KeyboardFailure.h"
#include "flows/FlowProgress.h"
#include "flows/UnfinishedSave.h"
#include "keys/MessageTexts.h"
#include "store/FileResult.h"

namespace varnok {

// What the save, clear and read-back flows need of whoever runs them (the window, the command
// line): a way to tell the user, to show progress, and to keep a row's function mode. A flow
// may run on a worker thread; the host decides when and where its calls reach the user.
class FlowHost {
public:
    virtual ~FlowHost() = default;

    virtual void ShowMessage(MessageId id) = 0;
    // A message about a keyboard not found or refusing a read: the host adds the system's
    // reason, when the link kept one (see DescribeKeyboardFailure), in the user's language.
    virtual void ShowKeyboardFailure(MessageId id,
                                     const std::optional<KeyboardFailure>& failure) = 0;
    // A message about a file that was left alone: the host adds the file and the reason (see
    // DescribeFileResult) in the user's language.
    virtual void ShowFileProblem(MessageId id, const FileResult& result) = 0;
    // A message about a save that failed or stopped part way: the host adds what the keyboard
    // now holds and the system's reason (see DescribeUnfinishedSave) in the user's language.
    virtual void ShowUnfinishedSave(MessageId id, const UnfinishedSave& save) = 0;
    // Called as the flow reaches each key (see ProgressBeforeSlot).
    virtual void ReportProgress(const FlowProgress& progress) = 0;
    // A read-back found the row's function mode on the keyboard; the host keeps it as the
    // user's setting (the model already holds it).
    virtual void StoreFunctionMode(int row, std::int32_t mode) = 0;
    // True when the flow should stop at the next record boundary (the window is closing).
    virtual bool StopRequested() const = 0;
};

}  // namespace varnok
