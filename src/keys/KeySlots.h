#pragma once

namespace varnok {

// The keyboard's key table has seven slots, 0..6. Slots 1..6 are the programmable keys, one
// row each in the window; slot 0 has only a hidden field.
constexpr int kSlotCount = 7;
constexpr int kFirstRowSlot = 1;

constexpr bool IsRowSlot(int slot) {
    return slot >= kFirstRowSlot && slot < kSlotCount;
}

}  // namespace varnok
