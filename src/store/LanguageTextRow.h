#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varnok {

// One row of a table of texts that Varnok shows in its two languages, found by what it names.
template <typename Id>
struct LanguageTextRow {
    Id id;
    std::string_view english;
    std::string_view chinese;
};

// The text of a row in a language: English for 0, Chinese for any other value (the window's
// stored language flag is read so); empty when the table has no row for the id.
template <typename Id, std::size_t Rows>
constexpr std::string_view LanguageTextFor(const std::array<LanguageTextRow<Id>, Rows>& table,
                                           Id id, std::int32_t language) {
    for (const LanguageTextRow<Id>& row : table) {
        if (row.id == id) return language == 0 ? row.english : row.chinese;
    }
    return {};
}

}  // namespace varnok
