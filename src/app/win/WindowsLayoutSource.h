#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyboardLayoutSource.h"

namespace varnok {

// The layouts of a Windows user: those installed for the user (by their layout identifiers,
// "00000407"), the active one, each loaded by Windows when chosen.
class WindowsLayoutSource final : public KeyboardLayoutSource {
public:
    std::vector<LayoutOffer> Offers() const override;
    std::string SystemLayout() const override;
    std::unique_ptr<KeyboardLayout> Make(std::string_view name, std::string& error) const override;
};

}  // namespace varnok
