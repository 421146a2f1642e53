#include "keys/win/WindowsKeyboardLayout.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>

#include "device/ScanCodeUsageTable.h"
#include "keys/MappedKeyboardLayout.h"

namespace varnok {

namespace {

// The characters asked about: the control characters a string key types, printable ASCII,
// Latin-1 and Latin Extended-A, Greek and Cyrillic.
constexpr std::array<std::pair<char32_t, char32_t>, 5> kAskedRanges = {
    {{0x09, 0x09}, {0x1B, 0x1B}, {0x20, 0x17F}, {0x370, 0x3FF}, {0x400, 0x4FF}}};

// VkKeyScanExW's shift state: 1 Shift, 2 Ctrl, 4 Alt; Ctrl+Alt is AltGr.
constexpr int kShiftState = 1;
constexpr int kCtrlAltState = 6;

}  // namespace

std::unique_ptr<KeyboardLayout> LoadWindowsKeyboardLayout(std::string_view identifier,
                                                          std::string& error) {
    const bool hex =
        identifier.size() == 8 && std::all_of(identifier.begin(), identifier.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        });
    HKL handle = nullptr;
    if (hex) {
        const std::wstring wide(identifier.begin(), identifier.end());
        handle = LoadKeyboardLayoutW(wide.c_str(), KLF_NOTELLSHELL);
    }
    if (handle == nullptr) {
        error = "no keyboard layout is called \"" + std::string(identifier) +
                "\"; layouts are named by their identifier, such as 00000407 for German";
        return nullptr;
    }
    auto layout = std::make_unique<MappedKeyboardLayout>(std::string(identifier));
    for (const auto& [first, last] : kAskedRanges) {
        for (char32_t character = first; character <= last; ++character) {
            const SHORT scan = VkKeyScanExW(static_cast<WCHAR>(character), handle);
            if (scan == -1) continue;
            const UINT virtualKey = LOBYTE(scan);
            const int state = HIBYTE(scan);
            if ((state & kCtrlAltState) != 0) {
                layout->AddRefusal(character, LayoutRefusal::NeedsAltGr);
                continue;
            }
            // The high bit of the key's character marks a dead key.
            if ((MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_CHAR, handle) & 0x80000000u) != 0) {
                layout->AddRefusal(character, LayoutRefusal::NeedsDeadKey);
                continue;
            }
            const UINT scanCode = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC_EX, handle);
            if (const auto usage = UsageOfScanCode(static_cast<std::uint16_t>(scanCode))) {
                layout->AddKey(character, {*usage, (state & kShiftState) != 0});
            }
        }
    }
    return layout;
}

}  // namespace varnok
