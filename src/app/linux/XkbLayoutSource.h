#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyboardLayoutSource.h"

namespace varnok {

// The layouts of a Linux system: those its layout data lists, the one its keyboard setting
// (/etc/default/keyboard) names, each compiled by libxkbcommon when chosen.
class XkbLayoutSource final : public KeyboardLayoutSource {
public:
    std::vector<LayoutOffer> Offers() const override;
    std::string SystemLayout() const override;
    std::unique_ptr<KeyboardLayout> Make(std::string_view name, std::string& error) const override;
};

}  // namespace varnok
