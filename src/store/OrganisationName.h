#pragma once

#include <string_view>

namespace varnok {

// The organisation every per-user file of Varnok is kept under, as the settings store names it.
inline constexpr std::string_view kOrganisationName = "brelmoth";

}  // namespace varnok
