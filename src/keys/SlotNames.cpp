#include "keys/SlotNames.h"

namespace varnok {

// clang-format off
const std::array<std::string_view, 10> SlotNames = {
    "key0", "key1", "key2", "key3", "key4", "key5", "key6", "key7", "key8", "key9",
};
// clang-format on

}  // namespace varnok
