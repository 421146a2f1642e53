#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace varnok {

// A slot's definition bytes as its owner hands them over: the slot's key reports from the
// first byte on, or the start of its string payload; unused bytes are zero.
using SlotData = std::array<std::uint8_t, 25>;

// The first 25 of these bytes, zero-padded to a full block.
inline SlotData ToSlotData(std::span<const std::uint8_t> bytes) {
    SlotData data{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), data.size()), data.begin());
    return data;
}

// What the window needs to show and rebuild one slot's definition at the next start.
struct SlotEntry {
    // Every caller stores 0; a value read from msmap.dat is carried back unchanged.
    std::uint8_t flag = 0;
    // The slot name ("key0".."key6"), kept as the bytes it was given or read.
    std::string name;
    // The slot's value text as the window showed it, UTF-8.
    std::string text;
    SlotData data{};

    friend bool operator==(const SlotEntry&, const SlotEntry&) = default;
};

}  // namespace varnok
