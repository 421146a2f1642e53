#include "app/linux/XkbLayoutSource.h"

#include "keys/linux/SystemKeyboardSetting.h"
#include "keys/linux/XkbKeyboardLayout.h"
#include "keys/linux/XkbLayoutOffers.h"

namespace varnok {

std::vector<LayoutOffer> XkbLayoutSource::Offers() const {
    return XkbLayoutOffers();
}

std::string XkbLayoutSource::SystemLayout() const {
    return SystemKeyboardSetting("/etc/default/keyboard");
}

std::unique_ptr<KeyboardLayout> XkbLayoutSource::Make(std::string_view name,
                                                      std::string& error) const {
    return CompileXkbLayout(name, error);
}

}  // namespace varnok
