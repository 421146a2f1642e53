#include "keys/linux/XkbLayoutOffers.h"

#include <xkbcommon/xkbregistry.h>

namespace varnok {

std::vector<LayoutOffer> XkbLayoutOffers() {
    std::vector<LayoutOffer> offers;
    rxkb_context* registry = rxkb_context_new(RXKB_CONTEXT_NO_FLAGS);
    if (registry == nullptr) return offers;
    if (rxkb_context_parse_default_ruleset(registry)) {
        for (rxkb_layout* layout = rxkb_layout_first(registry); layout != nullptr;
             layout = rxkb_layout_next(layout)) {
            const char* variant = rxkb_layout_get_variant(layout);
            const char* description = rxkb_layout_get_description(layout);
            if (variant != nullptr && *variant != '\0') continue;
            const std::string name = rxkb_layout_get_name(layout);
            offers.push_back({name, description != nullptr ? description : name});
        }
    }
    rxkb_context_unref(registry);
    return offers;
}

}  // namespace varnok
