#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyboardLayout.h"
#include "keys/KeyboardLayoutSource.h"

namespace varnok {

// The window's "Keyboard layout" list: the layouts the system offers, the kept one and the
// system's among them, sorted by description, and the layout the String rows are typed with.
// "us" is always there and is the US table, which needs nothing from the system.
class LayoutList {
public:
    // Fills the list and selects the kept layout, else the system's, else US; a name the
    // system cannot make is passed over. source may be null: then only US is offered.
    void Fill(const KeyboardLayoutSource* source, std::string_view kept);

    const std::vector<LayoutOffer>& Entries() const { return entries_; }
    int Selected() const { return selected_; }
    const LayoutOffer& SelectedEntry() const { return entries_[selected_]; }
    const KeyboardLayout& Layout() const;

    // Makes entry index's layout the one in use; false, with the reason, when the system
    // cannot make it (the one in use stays).
    bool Choose(int index, std::string& error);
    // The entry of the name; -1 when the list has none.
    int IndexOf(std::string_view name) const;

private:
    void Add(std::string_view name);

    const KeyboardLayoutSource* source_ = nullptr;
    std::vector<LayoutOffer> entries_;
    int selected_ = 0;
    // Every layout made stays while the list lives: the model, and the undo history's copies
    // of it, type with one of them.
    std::map<std::string, std::unique_ptr<KeyboardLayout>, std::less<>> made_;
    const KeyboardLayout* layout_ = nullptr;  // none: the US table
};

}  // namespace varnok
