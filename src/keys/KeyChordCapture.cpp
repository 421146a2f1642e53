#include "keys/KeyChordCapture.h"

#include "keys/FunctionModeNames.h"
#include "keys/KeyLookup.h"
#include "keys/SlotNames.h"
#include "ui/KeyDefinitionDialog.h"

#include <algorithm>
#include <array>

namespace varnok {
namespace {

constexpr std::uint8_t kVirtualKeyClear = 0x03;      // Ctrl+Break: empties the row
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
struct GroupKeyBox { bool (KeyDefinitionDialog::*checked)() const; std::uint8_t keyCode; std::uint8_t virtualKey; };
constexpr std::array<GroupKeyBox, 3> kGroupKeyBoxes{{
    {&KeyDefinitionDialog::AltChecked,   0x38, 0x12},
    {&KeyDefinitionDialog::CtrlChecked,  0x1D, 0x11},
    {&KeyDefinitionDialog::ShiftChecked, 0x2A, 0x10},
}};
// clang-format on

std::uint8_t SubstituteJapaneseKey(std::uint8_t scanByte, std::uint8_t virtualKey) {
    for (const JapaneseKey& key : kJapaneseKeys) {
        if (key.scanByte == scanByte) return key.virtualKey;
    }
    return virtualKey;
}

// Delete and keypad "." share scan byte 0x53; Delete's key code is 0x54.
std::uint8_t ScanByteOf(const KeyMessage& message) {
    if (message.scanByte == kScanKeypadPeriod && message.virtualKey == kVirtualKeyDelete) {
        return 0x54;
    }
    return message.scanByte;
}

// The key code the key report works with: the keypad digits and "*" by their virtual keys
// (so they stay apart from the cursor keys that share their scan bytes), NumLock 0x8A,
// otherwise the scan byte.
std::uint8_t KeyCodeOf(std::uint8_t scanByte, std::uint8_t virtualKey) {
    if (virtualKey >= 0x60 && virtualKey <= 0x6A) return static_cast<std::uint8_t>(virtualKey + 0x30);
    if (virtualKey == kVirtualKeyNumLock) return 0x8A;
    return scanByte;
}

}  // namespace

bool KeyChordCapture::OnKeyMessage(const KeyMessage& message) {
    const std::uint8_t scanByte = ScanByteOf(message);
    switch (message.kind) {
        case KeyMessageKind::KeyDown: return KeyDown(message.virtualKey, scanByte);
        case KeyMessageKind::KeyUp: return KeyUp(message.virtualKey, scanByte);
        case KeyMessageKind::SysKeyDown: return SystemKeyDown(message.virtualKey, scanByte);
        case KeyMessageKind::SysKeyUp: return SystemKeyUp(message.virtualKey);
    }
    return false;
}

bool KeyChordCapture::KeyDown(std::uint8_t virtualKey, std::uint8_t scanByte) {
    CaptureState& state = window_.Capture();
    // The key just captured repeats while it is held: let the repeats go.
    if (scanByte == state.lastKeyCode) return false;
    virtualKey = SubstituteJapaneseKey(scanByte, virtualKey);
    if (window_.FunctionMode(window_.CurrentSlot()) == kStringMode) return false;

    ApplyGroupKeyBoxes(virtualKey);
    state.lastKeyCode = scanByte;
    if (NameCapturedKey(virtualKey, KeyMessageKind::KeyDown)) {
        state.lastKeyCode = KeyCodeOf(scanByte, virtualKey);
        window_.SlotReports()[window_.CurrentSlot()].AddKey(state.lastKeyCode);
    }
    return true;
}

bool KeyChordCapture::KeyUp(std::uint8_t virtualKey, std::uint8_t scanByte) {
    const int slot = window_.CurrentSlot();
    if (window_.FunctionMode(slot) == kStringMode) return false;
    CaptureState& state = window_.Capture();
    state.lastKeyCode = 0;
    virtualKey = SubstituteJapaneseKey(scanByte, virtualKey);
    if (!NameCapturedKey(virtualKey, KeyMessageKind::KeyUp)) return true;

    KeyReportList& reports = window_.SlotReports()[slot];
    // PrintScreen arrives as a release alone: it is a chord by itself.
    if (virtualKey == kVirtualKeyPrintScreen) {
        reports.Clear();
        reports.AddKey(scanByte);
    }
    reports.RecordChord();
    reports.RemoveKey(KeyCodeOf(state.lastKeyCode, virtualKey));
    StoreReleasedChord();
    return true;
}

bool KeyChordCapture::SystemKeyDown(std::uint8_t virtualKey, std::uint8_t scanByte) {
    CaptureState& state = window_.Capture();
    if (scanByte == state.lastKeyCode) return false;
    ApplyGroupKeyBoxes(virtualKey);
    state.lastKeyCode = scanByte;
    if (NameCapturedKey(virtualKey, KeyMessageKind::KeyDown)) {
        window_.SlotReports()[window_.CurrentSlot()].AddKey(state.lastKeyCode);
    }
    return true;
}

bool KeyChordCapture::SystemKeyUp(std::uint8_t virtualKey) {
    window_.Capture().lastKeyCode = 0;
    if (NameCapturedKey(virtualKey, KeyMessageKind::KeyUp)) {
        KeyReportList& reports = window_.SlotReports()[window_.CurrentSlot()];
        reports.RecordChord();
        reports.RemoveKey(0);
        StoreReleasedChord();
    }
    return true;
}

void KeyChordCapture::StoreReleasedChord() {
    const int slot = window_.CurrentSlot();
    ++window_.DefinedFlags()[slot];
    std::array<std::uint8_t, 8> report{};
    std::size_t copied = 0;
    if (window_.SlotReports()[slot].CopyReports(report, copied) && copied > 0) {
        window_.Map().Set(SlotNames[slot], window_.Texts()[slot],
                          ToSlotData(std::span(report).first(copied)), 0);
    }
}

void KeyChordCapture::ApplyGroupKeyBoxes(std::uint8_t virtualKey) {
    window_.Collect();
    for (const GroupKeyBox& box : kGroupKeyBoxes) {
        if (virtualKey == box.virtualKey && (window_.*box.checked)()) return;
    }
    for (const GroupKeyBox& box : kGroupKeyBoxes) {
        if (!(window_.*box.checked)()) continue;
        window_.Capture().lastKeyCode = box.keyCode;
        if (NameCapturedKey(box.virtualKey, KeyMessageKind::KeyDown)) {
            window_.SlotReports()[window_.CurrentSlot()].AddKey(box.keyCode);
        }
    }
}

bool KeyChordCapture::NameCapturedKey(std::uint8_t virtualKey, KeyMessageKind kind) {
    const int slot = window_.CurrentSlot();
    CaptureState& state = window_.Capture();
    const auto kindValue = static_cast<std::uint32_t>(kind);
    if (virtualKey == state.lastVirtualKey && kindValue == state.lastMessageKind) return false;

    if (window_.DefinedFlags()[slot] >= 1) {
        if (kind == KeyMessageKind::KeyUp) return true;
        window_.ShowMessage(MessageId::OnlyGroupKey);
        return false;
    }
    state.lastVirtualKey = virtualKey;
    state.lastMessageKind = kindValue;

    std::string& text = window_.Texts()[slot];
    std::optional<std::string> name = CaptureName(virtualKey);
    if (virtualKey == kVirtualKeyClear) {
        text.clear();
        state.completedChords = 0;
        state.keysInChord = 0;
        window_.Refresh();
        return false;
    }
    if (virtualKey == kVirtualKeyPrintScreen) {
        text = "PrintScreen";
        state.keysInChord = 1;
    }
    if (!name) return false;
    if (state.keysInChord >= 5 && kind == KeyMessageKind::KeyDown) return false;

    if (kind == KeyMessageKind::KeyUp) {
        state.keysInChord = 0;
        ++state.completedChords;
        state.busy = 1;
        text += ",";
        state.busy = 0;
    } else {
        if (state.busy != 0) return false;
        if (state.completedChords == 0 && state.keysInChord == 0) text.clear();
        ++state.keysInChord;
        text += *name + "|";
    }
    window_.Refresh();
    return true;
}

}  // namespace varnok
