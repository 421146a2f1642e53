#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keys/KeySlotsModel.h"

namespace varnok {

// The rows as they were before one change: the model (texts, reports, modes, map entries)
// and the key count shown, and msmap.dat's bytes when the change wrote the file (Clear, a
// read-back, an import, a row entering or leaving String), so that undoing it puts the file
// back as the change found it.
struct RowsState {
    KeySlotsModel model;
    int keyCount;
    bool withFile = false;
    // nullopt with withFile: there was no file.
    std::optional<std::vector<std::uint8_t>> file;
    // The layout list's choice the String rows were typed for.
    std::string layout;
};

// The window's undo and redo of changes to its rows. Each change records the state before it;
// undoing one goes back to that state and keeps the state it left for redo; a new change
// forgets what could be redone.
class RowsHistory {
public:
    void Record(RowsState before);
    // The state an undo (a redo) would go back to, nullptr when there is none.
    const RowsState* NextUndo() const { return undo_.empty() ? nullptr : &undo_.back(); }
    const RowsState* NextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }
    // Takes that state; now, the state it replaces, can be gone back to the other way.
    std::optional<RowsState> Undo(RowsState now);
    std::optional<RowsState> Redo(RowsState now);

private:
    // Enough for a session's work; the oldest changes go first.
    static constexpr std::size_t kDepth = 100;

    std::vector<RowsState> undo_;
    std::vector<RowsState> redo_;
};

}  // namespace varnok
