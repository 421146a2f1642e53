#include "ui/LayoutList.h"

#include <algorithm>

#include "keys/UsKeyboardLayout.h"

namespace varnok {

namespace {

constexpr std::string_view kUs = "us";

}  // namespace

const KeyboardLayout& LayoutList::Layout() const {
    return layout_ ? *layout_ : UsKeyboardLayout();
}

int LayoutList::IndexOf(std::string_view name) const {
    const auto found = std::ranges::find(entries_, name, &LayoutOffer::name);
    return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

void LayoutList::Add(std::string_view name) {
    if (name.empty() || IndexOf(name) >= 0) return;
    if (name == kUs) {
        entries_.push_back({std::string(kUs), UsKeyboardLayout().Name()});
        return;
    }
    // A layout the offers leave out (a variant) is listed by what it calls itself.
    std::string error;
    if (source_ == nullptr) return;
    if (const auto layout = source_->Make(name, error)) {
        entries_.push_back({std::string(name), layout->Name()});
    }
}

void LayoutList::Fill(const KeyboardLayoutSource* source, std::string_view kept) {
    source_ = source;
    entries_.clear();
    layout_ = nullptr;
    std::string system;
    if (source_ != nullptr) {
        for (LayoutOffer& offer : source_->Offers()) {
            if (!offer.name.empty() && IndexOf(offer.name) < 0) entries_.push_back(offer);
        }
        system = source_->SystemLayout();
    }
    Add(kept);
    Add(system);
    Add(kUs);
    std::ranges::stable_sort(entries_, {}, &LayoutOffer::description);

    std::string error;
    for (const std::string_view name : {kept, std::string_view(system), kUs}) {
        const int index = IndexOf(name);
        if (index >= 0 && Choose(index, error)) return;
    }
}

bool LayoutList::Choose(int index, std::string& error) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
    const std::string& name = entries_[index].name;
    const KeyboardLayout* layout = nullptr;
    if (name != kUs) {
        auto made = made_.find(name);
        if (made == made_.end()) {
            if (source_ == nullptr) return false;
            std::unique_ptr<KeyboardLayout> fresh = source_->Make(name, error);
            if (!fresh) return false;
            made = made_.emplace(name, std::move(fresh)).first;
        }
        layout = made->second.get();
    }
    layout_ = layout;
    selected_ = index;
    return true;
}

}  // namespace varnok
