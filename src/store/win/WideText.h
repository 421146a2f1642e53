#pragma once

#include <string>
#include <string_view>

namespace varnok {

// UTF-8, as Varnok holds texts, to and from UTF-16, as the Windows W functions take them.
// Malformed input becomes U+FFFD; nothing fails.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The system's own words for a Windows error code, in UTF-8, without the closing line break.
std::string SystemErrorText(unsigned long error);

}  // namespace varnok
