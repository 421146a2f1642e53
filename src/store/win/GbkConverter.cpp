#include "store/GbkConverter.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace varnok {

namespace {

constexpr UINT kGbkCodePage = 936;

// UTF-16 of bytes in a code page; nullopt when any byte sequence has no character there.
std::optional<std::wstring> Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    if (bytes.size() > INT_MAX) {
        return std::nullopt;
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                            length) != length) {
        return std::nullopt;
    }
    return wide;
}

// Bytes of UTF-16 in a code page; nullopt when a character has none there. Without
// WC_NO_BEST_FIT_CHARS Windows would quietly write a look-alike (an "a" for an "ä").
std::optional<std::string> Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                           usedDefaultOut);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr,
                            usedDefaultOut) != length ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

// Windows gives each cell that GBK leaves unassigned (its user-defined areas among them) a
// private-use character. Those are no GBK text, and the Linux build has no such characters:
// refusing them both ways keeps msmap.dat the same whichever build reads or writes it.
bool HasPrivateUseCharacter(const std::wstring& wide) {
    return std::any_of(wide.begin(), wide.end(),
                       [](wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; });
}

}  // namespace

// Windows keeps nothing open between conversions.
struct GbkConverter::State {};

GbkConverter::GbkConverter() = default;

GbkConverter::~GbkConverter() = default;

std::optional<std::string> GbkConverter::ToUtf8(std::string_view gbk) {
    const std::optional<std::wstring> wide = Widen(kGbkCodePage, gbk);
    if (!wide || HasPrivateUseCharacter(*wide)) {
        return std::nullopt;
    }
    return Narrow(CP_UTF8, *wide);
}

std::optional<std::string> GbkConverter::ToGbk(std::string_view utf8) {
    const std::optional<std::wstring> wide = Widen(CP_UTF8, utf8);
    if (!wide || HasPrivateUseCharacter(*wide)) {
        return std::nullopt;
    }
    return Narrow(kGbkCodePage, *wide);
}

}  // namespace varnok
