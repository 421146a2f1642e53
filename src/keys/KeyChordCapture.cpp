#include "keys/KeyChordCapture.h"

#include <algorithm>
#include <array>

#include "keys/FunctionModeNames.h"
#include "keys/KeyLookup.h"

namespace varnok {
namespace {

constexpr std::uint8_t kVirtualKeyClear = 0x03;  // Ctrl+Break: empties the row
constexpr std::uint8_t kVirtualKeyPrintScreen = 0x2C;
constexpr std::uint8_t kVirtualKeyDelete = 0x2E;
constexpr std::uint8_t kVirtualKeyNumLock = 0x90;
constexpr std::uint8_t kScanKeypadPeriod = 0x53;

// The keys of a Japanese keyboard have no virtual keys of their own in every layout; the
// capture knows them by their scan bytes and gives them substitute virtual keys with names.
// clang-format off
struct JapaneseKey { std::uint8_t scanByte; std::uint8_t virtualKey; };
constexpr std::array<JapaneseKey, 6> kJapaneseKeys{{
    {0x7D, 0xEB},  // Yen
    {0x79, 0xEC},  // Convert (Henkan)
    {0x70, 0xED},  // Hiragana/Katakana
    {0x7B, 0xEE},  // NonConvert (Muhenkan)
    {0x73, 0xEF},  // Ro
    {0x76, 0xF0},  // Zenkaku/Hankaku
}};

// The Group Key boxes in the order their modifiers are added.
struct GroupKeyBox { bool GroupKeys::*checked; std::uint8_t keyCode; std::uint8_t virtualKey; };
constexpr std::array<GroupKeyBox, 3> kGroupKeyBoxes{{
    {&GroupKeys::alt,   0x38, 0x12},
    {&GroupKeys::ctrl,  0x1D, 0x11},
    {&GroupKeys::shift, 0x2A, 0x10},
}};
// clang-format on

std::uint8_t SubstituteJapaneseKey(std::uint8_t scanByte, std::uint8_t virtualKey) {
    for (const JapaneseKey& key : kJapaneseKeys) {
        if (key.scanByte == scanByte) return key.virtualKey;
    }
    return virtualKey;
}

// Delete and keypad "." share scan byte 0x53; Delete's key code is 0x54.
std::uint8_t ScanByteOf(const KeyEvent& message) {
    if (message.scanByte == kScanKeypadPeriod && message.virtualKey == kVirtualKeyDelete) {
        return 0x54;
    }
    return message.scanByte;
}

// The key code the key report works with: the keypad digits and "*" by their virtual keys
// (so they stay apart from the cursor keys that share their scan bytes), NumLock 0x8A,
// otherwise the scan byte.
std::uint8_t KeyCodeOf(std::uint8_t scanByte, std::uint8_t virtualKey) {
    if (virtualKey >= 0x60 && virtualKey <= 0x6A)
        return static_cast<std::uint8_t>(virtualKey + 0x30);
    if (virtualKey == kVirtualKeyNumLock) return 0x8A;
    return scanByte;
}

}  // namespace

bool KeyChordCapture::OnKeyEvent(const KeyEvent& message) {
    const std::uint8_t scanByte = ScanByteOf(message);
    switch (message.kind) {
        case KeyEventKind::KeyDown:
            return KeyDown(message.virtualKey, scanByte);
        case KeyEventKind::KeyUp:
            return KeyUp(message.virtualKey, scanByte);
        case KeyEventKind::SysKeyDown:
            return SystemKeyDown(message.virtualKey, scanByte);
        case KeyEventKind::SysKeyUp:
            return SystemKeyUp(message.virtualKey);
    }
    return false;
}

bool KeyChordCapture::KeyDown(std::uint8_t virtualKey, std::uint8_t scanByte) {
    // The key just captured repeats while it is held: let the repeats go.
    if (scanByte == state_.lastKeyCode) return false;
    virtualKey = SubstituteJapaneseKey(scanByte, virtualKey);
    if (model_.FunctionMode(host_.CurrentSlot()) == kStringMode) return false;

    ApplyGroupKeyBoxes(virtualKey);
    state_.lastKeyCode = scanByte;
    if (NameCapturedKey(virtualKey, KeyEventKind::KeyDown)) {
        state_.lastKeyCode = KeyCodeOf(scanByte, virtualKey);
        model_.AddChordKey(host_.CurrentSlot(), state_.lastKeyCode);
    }
    return true;
}

bool KeyChordCapture::KeyUp(std::uint8_t virtualKey, std::uint8_t scanByte) {
    const int slot = host_.CurrentSlot();
    if (model_.FunctionMode(slot) == kStringMode) return false;
    state_.lastKeyCode = 0;
    virtualKey = SubstituteJapaneseKey(scanByte, virtualKey);
    if (!NameCapturedKey(virtualKey, KeyEventKind::KeyUp)) return true;

    // PrintScreen arrives as a release alone: it is a chord by itself.
    if (virtualKey == kVirtualKeyPrintScreen) model_.RestartChordWith(slot, scanByte);
    model_.RecordChord(slot);
    model_.RemoveChordKey(slot, KeyCodeOf(state_.lastKeyCode, virtualKey));
    model_.StoreCapturedChord(slot);
    return true;
}

bool KeyChordCapture::SystemKeyDown(std::uint8_t virtualKey, std::uint8_t scanByte) {
    if (scanByte == state_.lastKeyCode) return false;
    ApplyGroupKeyBoxes(virtualKey);
    state_.lastKeyCode = scanByte;
    if (NameCapturedKey(virtualKey, KeyEventKind::KeyDown)) {
        model_.AddChordKey(host_.CurrentSlot(), state_.lastKeyCode);
    }
    return true;
}

bool KeyChordCapture::SystemKeyUp(std::uint8_t virtualKey) {
    state_.lastKeyCode = 0;
    if (NameCapturedKey(virtualKey, KeyEventKind::KeyUp)) {
        const int slot = host_.CurrentSlot();
        model_.RecordChord(slot);
        model_.RemoveChordKey(slot, 0);
        model_.StoreCapturedChord(slot);
    }
    return true;
}

void KeyChordCapture::ApplyGroupKeyBoxes(std::uint8_t virtualKey) {
    const GroupKeys checked = host_.CheckedGroupKeys();
    for (const GroupKeyBox& box : kGroupKeyBoxes) {
        if (virtualKey == box.virtualKey && checked.*box.checked) return;
    }
    for (const GroupKeyBox& box : kGroupKeyBoxes) {
        if (!(checked.*box.checked)) continue;
        state_.lastKeyCode = box.keyCode;
        if (NameCapturedKey(box.virtualKey, KeyEventKind::KeyDown)) {
            model_.AddChordKey(host_.CurrentSlot(), box.keyCode);
        }
    }
}

bool KeyChordCapture::NameCapturedKey(std::uint8_t virtualKey, KeyEventKind kind) {
    const int slot = host_.CurrentSlot();
    const auto kindValue = static_cast<std::uint32_t>(kind);
    if (virtualKey == state_.lastVirtualKey && kindValue == state_.lastMessageKind) return false;

    if (model_.DefinedCount(slot) >= 1) {
        if (kind == KeyEventKind::KeyUp) return true;
        host_.ShowMessage(MessageId::OnlyGroupKey);
        return false;
    }
    state_.lastVirtualKey = virtualKey;
    state_.lastMessageKind = kindValue;

    std::optional<std::string> name = CaptureName(virtualKey);
    if (virtualKey == kVirtualKeyClear) {
        model_.TakeText(slot, "");
        state_.completedChords = 0;
        state_.keysInChord = 0;
        host_.ShowRowTexts();
        return false;
    }
    if (virtualKey == kVirtualKeyPrintScreen) {
        model_.TakeText(slot, "PrintScreen");
        state_.keysInChord = 1;
    }
    if (!name) return false;
    if (state_.keysInChord >= 5 && kind == KeyEventKind::KeyDown) return false;

    if (kind == KeyEventKind::KeyUp) {
        state_.keysInChord = 0;
        ++state_.completedChords;
        state_.busy = 1;
        model_.AppendText(slot, ",");
        state_.busy = 0;
    } else {
        if (state_.busy != 0) return false;
        if (state_.completedChords == 0 && state_.keysInChord == 0) model_.TakeText(slot, "");
        ++state_.keysInChord;
        model_.AppendText(slot, *name + "|");
    }
    host_.ShowRowTexts();
    return true;
}

}  // namespace varnok
