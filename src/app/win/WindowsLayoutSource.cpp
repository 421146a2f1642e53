#include "app/win/WindowsLayoutSource.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>

#include "keys/win/WindowsKeyboardLayout.h"
#include "store/win/WideText.h"

namespace varnok {

std::vector<LayoutOffer> WindowsLayoutSource::Offers() const {
    std::vector<LayoutOffer> offers;
    const int count = GetKeyboardLayoutList(0, nullptr);
    if (count <= 0) return offers;
    std::vector<HKL> layouts(static_cast<std::size_t>(count));
    const int listed = GetKeyboardLayoutList(count, layouts.data());
    for (int i = 0; i < listed; ++i) {
        const auto handle = reinterpret_cast<std::uintptr_t>(layouts[i]);
        const auto language = static_cast<WORD>(handle & 0xFFFF);
        // A layout of its language's own keys has the language as its identifier; a variant
        // (Dvorak, a device's layout) is named by the registry only, and is offered when active.
        if (static_cast<WORD>((handle >> 16) & 0xFFFF) != language) continue;
        std::array<char, 9> identifier{};
        std::snprintf(identifier.data(), identifier.size(), "%08X", language);
        std::array<wchar_t, LOCALE_NAME_MAX_LENGTH * 2> description{};
        const int length =
            GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SLOCALIZEDDISPLAYNAME,
                           description.data(), static_cast<int>(description.size()));
        offers.push_back({identifier.data(), length > 1 ? Utf8FromWide(std::wstring_view(
                                                              description.data(),
                                                              static_cast<std::size_t>(length - 1)))
                                                        : std::string(identifier.data())});
    }
    return offers;
}

std::string WindowsLayoutSource::SystemLayout() const {
    std::array<wchar_t, KL_NAMELENGTH> name{};
    if (!GetKeyboardLayoutNameW(name.data())) return {};
    return Utf8FromWide(name.data());
}

std::unique_ptr<KeyboardLayout> WindowsLayoutSource::Make(std::string_view name,
                                                          std::string& error) const {
    return LoadWindowsKeyboardLayout(name, error);
}

}  // namespace varnok
