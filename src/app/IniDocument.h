#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The INI text of the settings file, read and written as QSettings reads and writes it (the
// window kept the file through QSettings before, and a file it wrote reads the same): a UTF-8
// byte-order mark at the start is skipped, sections
// and names are unescaped on reading (%XX, a backslash for "/") and escaped again on writing;
// a value is a string or, when it holds unquoted commas, a list of strings; ";" starts a
// comment outside quotes; lines without "=" are ignored; a later line for the same name wins.
// Writing puts the sections and their names in sorted order, names and values escaped as
// QSettings escapes them, with a blank line between sections; comments and ignored lines are
// gone, as they are once QSettings has written the file.
class IniDocument {
public:
    struct Value {
        std::vector<std::string> items;
        bool isList = false;
    };

    static IniDocument Parse(std::string_view text);
    std::string ToText() const;

    // The value as a single string; nullopt when the name is absent or holds a list.
    std::optional<std::string> Text(std::string_view section, std::string_view name) const;
    void SetText(std::string_view section, std::string_view name, std::string_view text);

private:
    // Section "" holds the names outside any group, written under [General].
    std::map<std::string, std::map<std::string, Value, std::less<>>, std::less<>> sections_;
};

}  // namespace varnok
