#include "ui/RowsHistory.h"

#include <utility>

namespace varnok {
namespace {

std::optional<RowsState> Move(std::vector<RowsState>& from, std::vector<RowsState>& to,
                              RowsState now) {
    if (from.empty()) return std::nullopt;
    RowsState target = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(now));
    return target;
}

}  // namespace

void RowsHistory::Record(RowsState before) {
    redo_.clear();
    if (undo_.size() == kDepth) undo_.erase(undo_.begin());
    undo_.push_back(std::move(before));
}

std::optional<RowsState> RowsHistory::Undo(RowsState now) {
    return Move(undo_, redo_, std::move(now));
}

std::optional<RowsState> RowsHistory::Redo(RowsState now) {
    return Move(redo_, undo_, std::move(now));
}

}  // namespace varnok
