#include "app/IniDocument.h"

#include <array>
#include <cstdint>

#include "store/Utf8.h"

namespace varnok {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// The escapes a value may use with a single letter after the backslash.
// clang-format off
constexpr std::array<std::pair<char, char>, 11> kEscapes{{
    {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'v', '\v'},
    {'"', '"'}, {'?', '?'}, {'\'', '\''}, {'\\', '\\'},
}};
// clang-format on

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code point of the UTF-8 sequence at text[i], advancing i past it. A byte that starts no
// complete, shortest, in-range sequence is U+FFFD, as QSettings reads it, and what follows is
// read on its own. Surrogates stand for themselves only where the document wrote them (a lone
// "%UD800" it read), never in what a file holds.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i, bool surrogates) {
    const Utf8Character character = FirstUtf8Character(
        text.substr(i), surrogates ? Utf8Surrogates::Taken : Utf8Surrogates::Refused);
    i += character.bytes.size();
    return character.codePoint.value_or(0xFFFD);
}

// Section and value names: "%XX" and "%UXXXX" are characters, a backslash is "/".
std::string UnescapeName(std::string_view text) {
    std::string name;
    // A "%UXXXX" high surrogate waits for the low one that follows it: the pair is one
    // character beyond the BMP.
    std::uint32_t highSurrogate = 0;
    const auto append = [&](std::uint32_t codePoint) {
        if (highSurrogate != 0 && codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            codePoint = 0x10000 + ((highSurrogate - 0xD800) << 10) + (codePoint - 0xDC00);
        } else if (highSurrogate != 0) {
            AppendUtf8(name, highSurrogate);
        }
        highSurrogate = 0;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            highSurrogate = codePoint;
        } else {
            AppendUtf8(name, codePoint);
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {
            append('/');
            ++i;
            continue;
        }
        const std::size_t digits = i + 1 < text.size() && text[i + 1] == 'U' ? 4 : 2;
        const std::size_t start = i + 1 + (digits == 4 ? 1 : 0);
        if (c == '%' && start + digits <= text.size()) {
            std::uint32_t codePoint = 0;
            bool hex = true;
            for (std::size_t k = start; k < start + digits; ++k) {
                hex = hex && HexValue(text[k]) >= 0;
                codePoint =
                    codePoint * 16 + static_cast<std::uint32_t>(std::max(HexValue(text[k]), 0));
            }
            if (hex) {
                append(codePoint);
                i = start + digits;
                continue;
            }
        }
        // Other bytes are read as UTF-8, as QSettings reads them into its names.
        if (static_cast<unsigned char>(c) < 0x80) {
            append(static_cast<unsigned char>(c));
            ++i;
        } else {
            append(NextCodePoint(text, i, false));
        }
    }
    if (highSurrogate != 0) AppendUtf8(name, highSurrogate);
    return name;
}

std::string EscapeName(std::string_view name) {
    std::string escaped;
    for (std::size_t i = 0; i < name.size();) {
        const char c = name[i];
        if (c == '/') {
            escaped += '\\';
            ++i;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            escaped += c;
            ++i;
        } else {
            // QSettings escapes the UTF-16 units of its names: beyond the BMP, two surrogates.
            const std::uint32_t codePoint = NextCodePoint(name, i, true);
            const auto escapeUnit = [&escaped](std::uint32_t unit) {
                escaped += unit <= 0xFF ? "%" : "%U";
                for (int shift = unit <= 0xFF ? 4 : 12; shift >= 0; shift -= 4) {
                    escaped += kHexDigits[(unit >> shift) & 0xF];
                }
            };
            if (codePoint > 0xFFFF) {
                escapeUnit(0xD800 + ((codePoint - 0x10000) >> 10));
                escapeUnit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
            } else {
                escapeUnit(codePoint);
            }
        }
    }
    return escaped;
}

// A value as QSettings reads it: quotes group, backslash escapes, unquoted commas separate
// the items of a list, blanks around unquoted items are dropped.
IniDocument::Value UnescapeValue(std::string_view text) {
    IniDocument::Value value;
    std::string current;
    bool inQuotes = false;
    bool quoted = false;
    // Trailing blanks of an unquoted item are dropped back to here.
    std::size_t keep = 0;
    const auto chopBlanks = [&] {
        if (quoted) return;
        while (current.size() > keep && IsBlank(current.back())) current.pop_back();
    };
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i])) ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\') {
            if (++i >= text.size()) break;
            const char e = text[i++];
            bool named = false;
            for (const auto& [code, character] : kEscapes) {
                if (e == code) {
                    current += character;
                    named = true;
                }
            }
            if (!named && (e == 'x' || (e >= '0' && e <= '7'))) {
                const int base = e == 'x' ? 16 : 8;
                std::uint32_t codePoint = e == 'x' ? 0 : static_cast<std::uint32_t>(e - '0');
                for (int digit; i < text.size() && (digit = HexValue(text[i])) >= 0 && digit < base;
                     ++i) {
                    codePoint = (codePoint * base + static_cast<std::uint32_t>(digit)) & 0xFFFF;
                }
                AppendUtf8(current, codePoint);
            } else if (!named && (e == '\n' || e == '\r')) {
                if (i < text.size() && (text[i] == '\n' || text[i] == '\r') && text[i] != e) ++i;
            }
            keep = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) skipBlanks();
        } else if (c == ',' && !inQuotes) {
            chopBlanks();
            value.isList = true;
            value.items.push_back(std::move(current));
            current.clear();
            keep = 0;
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            current += c;
            ++i;
        }
    }
    chopBlanks();
    value.items.push_back(std::move(current));
    return value;
}

void EscapeString(std::string_view text, std::string& out) {
    const std::size_t start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=') needsQuotes = true;
        if (escapeNextIfHexDigit && HexValue(c) >= 0) {
            out += "\\x";
            out += kHexDigits[byte >> 4] | 0x20;
            out += kHexDigits[byte & 0xF] | 0x20;
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (c) {
            case '\0':
                out += "\\0";
                escapeNextIfHexDigit = true;
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\v':
                out += "\\v";
                break;
            case '"':
            case '\\':
                out += '\\';
                out += c;
                break;
            default:
                if (byte <= 0x1F) {
                    out += "\\x";
                    if (byte >= 0x10) out += static_cast<char>(kHexDigits[byte >> 4] | 0x20);
                    out += static_cast<char>(kHexDigits[byte & 0xF] | 0x20);
                    escapeNextIfHexDigit = true;
                } else {
                    out += c;
                }
        }
    }
    if (needsQuotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, 1, '"');
        out += '"';
    }
}

// The next line as QSettings reads it: newlines inside quotes or after a backslash do not end
// it, and a ";" outside quotes ends it, the rest of the physical line being a comment.
// Returns the line and, through equals, the position of its first "=" outside quotes.
std::string_view NextLine(std::string_view data, std::size_t& position, std::size_t& equals) {
    equals = std::string_view::npos;
    std::size_t start = position;
    while (start < data.size() &&
           (IsBlank(data[start]) || data[start] == '\n' || data[start] == '\r'))
        ++start;
    bool inQuotes = false;
    std::size_t i = start;
    while (i < data.size()) {
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equals == std::string_view::npos) equals = i - 1 - start;
        } else if (c == '\n' || c == '\r') {
            if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < data.size()) ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';') {
            if (i == start + 1) {
                // A comment line: skip it whole.
                while (i < data.size() && data[i] != '\n' && data[i] != '\r') ++i;
                while (i < data.size() && (IsBlank(data[i]) || data[i] == '\n' || data[i] == '\r'))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                // The line ends here; the next call skips the comment.
                --i;
                break;
            }
        }
    }
    position = i;
    return data.substr(start, i - start);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    std::string section;
    // Editors on some systems start a UTF-8 file with a byte-order mark; QSettings skips it.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t position = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (position < text.size()) {
        std::size_t equals = 0;
        const std::string_view line = NextLine(text, position, equals);
        if (line.empty()) continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name = TrimBlanks(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (SameIgnoringCase(name, "General")) {
                section.clear();
            } else if (SameIgnoringCase(name, "%General")) {
                section = "General";
            } else {
                section = UnescapeName(name);
            }
            continue;
        }
        if (equals == std::string_view::npos) continue;
        const std::string name = UnescapeName(TrimBlanks(line.substr(0, equals)));
        if (name.empty()) continue;
        document.sections_[section][name] = UnescapeValue(line.substr(equals + 1));
    }
    return document;
}

std::string IniDocument::ToText() const {
    std::string text;
    for (const auto& [section, values] : sections_) {
        if (values.empty()) continue;
        if (!text.empty()) text += '\n';
        if (section.empty()) {
            text += "[General]\n";
        } else if (section == "General") {
            text += "[%General]\n";
        } else {
            text.append("[").append(EscapeName(section)).append("]\n");
        }
        for (const auto& [name, value] : values) {
            text += EscapeName(name) + "=";
            for (std::size_t i = 0; i < value.items.size(); ++i) {
                if (i > 0) text += ", ";
                EscapeString(value.items[i], text);
            }
            text += '\n';
        }
    }
    return text;
}

std::optional<std::string> IniDocument::Text(std::string_view section,
                                             std::string_view name) const {
    const auto values = sections_.find(section);
    if (values == sections_.end()) return std::nullopt;
    const auto value = values->second.find(name);
    if (value == values->second.end() || value->second.isList) return std::nullopt;
    return value->second.items.front();
}

void IniDocument::SetText(std::string_view section, std::string_view name, std::string_view text) {
    auto& values = sections_[std::string(section)];
    values.insert_or_assign(std::string(name), Value{{std::string(text)}, false});
}

}  // namespace varnok
