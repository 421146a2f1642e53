#include "flows/FlowProgress.h"

#include <algorithm>

#include "keys/KeySlots.h"

namespace varnok {

std::optional<FlowProgress> ProgressBeforeSlot(FlowProgress::Activity activity, int slot) {
    if (slot == kFirstRowSlot) return std::nullopt;
    return FlowProgress{activity, std::max(slot, kFirstRowSlot), kSlotCount - 1};
}

std::string ProgressText(const FlowProgress& progress, std::int32_t language) {
    const std::string step = std::to_string(progress.step);
    const std::string steps = std::to_string(progress.steps);
    const bool writing = progress.activity == FlowProgress::Activity::Writing;
    if (language == 0) {
        return (writing ? "Writing key " : "Reading key ") + step + " of " + steps;
    }
    // 正在写入/读取第 3/6 个按键
    return (writing ? "\u6B63\u5728\u5199\u5165\u7B2C " : "\u6B63\u5728\u8BFB\u53D6\u7B2C ") +
           step + "/" + steps + " \u4E2A\u6309\u952E";
}

}  // namespace varnok
