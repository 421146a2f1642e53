#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

namespace varnok {

// Windows gives no program the keyboard's typing and mouse collections as HID reports: its
// keyboard and mouse drivers own them and hand Raw Input only what they made of each report,
// make and break scan codes and button transitions. This turns those back into the reports a
// boot keyboard and a boot mouse send, read by the descriptors below, so that the key tester
// names a press exactly as it does from the keyboard's own reports on Linux.
//
// What arrives together came from one report of the keyboard: the presses of one batch make
// one report, its releases the next, so that Ctrl+Alt+Del is one report (modifiers 05, key 4C)
// as the keyboard sent it, not three.
class RawInputReports {
public:
    static constexpr std::size_t kKeyboard = 0;  // modifiers, a reserved byte, six key usages
    static constexpr std::size_t kMouse = 1;     // five buttons, X and Y (always 0)
    // The report descriptor of each interface, indexed by kKeyboard and kMouse.
    static const std::vector<std::vector<std::uint8_t>>& Descriptors();

    using RawEvent = std::variant<RAWKEYBOARD, RAWMOUSE>;
    struct Report {
        std::size_t interface;
        std::vector<std::uint8_t> bytes;
        bool operator==(const Report&) const = default;
    };
    // The reports for one batch of the keyboard's own Raw Input, in order. A key or button
    // that changes nothing (a held key's repeat, a release of what is not held), Windows' made
    // up keys and codes of no usage give none.
    std::vector<Report> Take(std::span<const RawEvent> batch);

private:
    // One key or button going down or up; the report it belongs to.
    void Change(std::size_t interface, bool pressed, std::vector<Report>& reports);
    void Flush(std::vector<Report>& reports);
    void Key(const RAWKEYBOARD& key, std::vector<Report>& reports);
    void Buttons(const RAWMOUSE& mouse, std::vector<Report>& reports);

    std::uint8_t modifiers_ = 0;
    std::vector<std::uint8_t> keys_;  // in the order they went down, at most six
    std::uint8_t buttons_ = 0;
    // The report being gathered: its interface and whether it presses or releases.
    bool pending_ = false;
    std::size_t pendingInterface_ = kKeyboard;
    bool pendingPressed_ = false;
};

}  // namespace varnok
