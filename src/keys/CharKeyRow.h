#pragma once

#include <cstdint>

namespace varnok {

// A character a string key can type and the key code of the key that types it.
struct CharKeyRow {
    char32_t character;
    std::uint8_t keyCode;
};

}  // namespace varnok
