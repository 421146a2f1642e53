#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/KeyboardFailure.h"
#include "store/LanguageTextRow.h"

namespace varnok {

// What the link was doing when the system refused it, in the words the user reads under a
// "not connected" or failed save or read-back: %1 is the system's reason, %2 the interface.
extern const std::array<LanguageTextRow<KeyboardFailure::Step>, 5> KeyboardFailureTexts;

// "/dev/hidraw3 could not be opened: Device or resource busy", "Reason: Broken pipe", in the
// window's language (0 English, otherwise Chinese); empty when the system gave no reason.
std::string DescribeKeyboardFailure(const KeyboardFailure& failure, std::int32_t language);

}  // namespace varnok
