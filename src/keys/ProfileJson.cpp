#include "keys/ProfileJson.h"

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "device/HexBytes.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyReport.h"
#include "keys/RowText.h"
#include "keys/StringPayload.h"
#include "keys/UsKeyboardLayout.h"
#include "store/QuotedText.h"

namespace varnok {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "varnok-profile";
constexpr std::array<std::string_view, 2> kLanguages = {"English", "Chinese"};
constexpr int kMaxKeyCount = 6;
constexpr int kLastSlot = 6;
constexpr std::size_t kKeyReportSize = std::tuple_size_v<KeyReport>;

// Each check below is true when the value passes; otherwise it puts "place: reason" into
// error.
bool Refuse(std::string& error, const std::string& place, const std::string& reason) {
    error = place + ": " + reason;
    return false;
}

std::string LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t lineStart = before.rfind('\n');
    const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(column + 1);
}

// Follows a parse's events to name the place of the first member an object holds twice, as
// the other refusals name places ("keys[1].text").
class MemberPaths {
public:
    void Take(Json::parse_event_t event, const Json& parsed) {
        using Event = Json::parse_event_t;
        if (event == Event::object_start || event == Event::array_start || event == Event::value) {
            if (!open_.empty() && open_.back().array) ++open_.back().index;
        }
        if (event == Event::object_start || event == Event::array_start) {
            open_.push_back({event == Event::array_start, -1, {}, {}});
        } else if (event == Event::object_end || event == Event::array_end) {
            if (!open_.empty()) open_.pop_back();
        } else if (event == Event::key && !open_.empty() && parsed.is_string()) {
            Level& object = open_.back();
            object.name = parsed.get<std::string>();
            if (!object.names.insert(object.name).second && twice_.empty()) twice_ = Path();
        }
    }
    // Empty when no member appears twice.
    const std::string& Twice() const { return twice_; }

private:
    struct Level {
        bool array;
        int index;
        std::string name;  // an object's member being read
        std::set<std::string, std::less<>> names;
    };
    std::string Path() const {
        std::string path;
        for (const Level& level : open_) {
            if (level.array) {
                path += "[" + std::to_string(level.index) + "]";
            } else {
                path += (path.empty() ? "" : ".") + level.name;
            }
        }
        return path;
    }

    std::vector<Level> open_;
    std::string twice_;
};

const Json* Member(const Json& object, const std::string& place, const char* name,
                   std::string& error) {
    const auto found = object.find(name);
    if (found == object.end()) {
        Refuse(error, place, std::string("\"") + name + "\" is missing");
        return nullptr;
    }
    return &*found;
}

bool OnlyKnownMembers(const Json& object, const std::string& place,
                      std::initializer_list<std::string_view> known, std::string& error) {
    for (const auto& [name, value] : object.items()) {
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            return Refuse(error, place, "unknown member " + QuotedInput(name));
        }
    }
    return true;
}

// A whole number from lowest to highest; one out of range is refused with outOfRange(number),
// the number as written (an unsigned one past what a signed one holds too).
bool ReadInteger(const Json& object, const std::string& objectPlace, const char* name,
                 const std::string& place, int lowest, int highest,
                 const std::function<std::string(const std::string&)>& outOfRange, int& value,
                 std::string& error) {
    const Json* member = Member(object, objectPlace, name, error);
    if (member == nullptr) return false;
    if (!member->is_number_integer()) return Refuse(error, place, "expected a whole number");
    const bool inRange =
        member->is_number_unsigned()
            ? member->get<std::uint64_t>() <= static_cast<std::uint64_t>(highest)
            : member->get<std::int64_t>() >= lowest && member->get<std::int64_t>() <= highest;
    if (!inRange) return Refuse(error, place, outOfRange(member->dump()));
    value = static_cast<int>(member->get<std::int64_t>());
    return true;
}

bool ReadString(const Json& object, const std::string& objectPlace, const char* name,
                const std::string& place, std::string& value, std::string& error) {
    const Json* member = Member(object, objectPlace, name, error);
    if (member == nullptr) return false;
    if (!member->is_string()) return Refuse(error, place, "expected a string");
    value = member->get<std::string>();
    return true;
}

bool ReadFunction(const std::string& name, const std::string& place, std::int32_t& function,
                  std::string& error) {
    for (std::int32_t language : {0, 1}) {
        const auto& names = FunctionModeNames(language);
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end()) {
            function = static_cast<std::int32_t>(found - names.begin());
            return true;
        }
    }
    return Refuse(
        error, place,
        QuotedInput(name) + " is no function; expected \"Normal\", \"Once\" or \"String\"");
}

bool CheckDefinition(const ProfileKey& key, const std::string& place, const KeyboardLayout& layout,
                     std::string& error) {
    std::string reason;
    // A string's first question is whether the keyboard types it at all.
    if (key.function == kStringMode && !CheckTypedString(key.text, reason, layout)) {
        return Refuse(error, place + ".text", reason);
    }
    const RowTextUse use =
        key.function == kStringMode ? RowTextUse::TypedString : RowTextUse::Label;
    if (!CheckRowText(key.text, use, reason)) return Refuse(error, place + ".text", reason);
    if (key.function == kStringMode) {
        if (key.definition.size() > kMaxStringPayload) {
            return Refuse(
                error, place + ".definition",
                std::to_string(key.definition.size()) + " bytes; a string key holds at most 28");
        }
        if (key.definition != EncodeStringPayload(key.text, layout)) {
            return Refuse(error, place + ".definition",
                          "is not the payload of the text " + QuotedInput(key.text));
        }
        return true;
    }
    // A key report is what the window sends for the row, whatever its bytes; a row may even
    // show no text for it (a read-back of keys without names).
    if (!key.text.empty() && key.definition.empty()) {
        return Refuse(error, place, "a key with a text needs its definition");
    }
    if (!key.definition.empty() && key.definition.size() != kKeyReportSize) {
        return Refuse(error, place + ".definition",
                      std::to_string(key.definition.size()) + " bytes; a key report has 8");
    }
    return true;
}

bool ReadKey(const Json& entry, const std::string& place, const KeyboardLayout& layout,
             ProfileKey& key, std::string& error) {
    if (!entry.is_object()) return Refuse(error, place, "expected an object");
    if (!OnlyKnownMembers(entry, place, {"key", "function", "text", "definition"}, error)) {
        return false;
    }
    const auto noKey = [](const std::string& number) {
        return number + " is no key; the keyboard has keys 1 to 6 and the hidden key 0";
    };
    if (!ReadInteger(entry, place, "key", place + ".key", 0, kLastSlot, noKey, key.slot, error)) {
        return false;
    }
    std::string function;
    if (!ReadString(entry, place, "function", place + ".function", function, error) ||
        !ReadFunction(function, place + ".function", key.function, error)) {
        return false;
    }
    if (key.slot == 0 && key.function != kNormalMode) {
        return Refuse(error, place + ".function", "the hidden key 0 is always Normal");
    }
    std::string hex;
    if (!ReadString(entry, place, "text", place + ".text", key.text, error) ||
        !ReadString(entry, place, "definition", place + ".definition", hex, error)) {
        return false;
    }
    const auto bytes = ParseHexBytes(hex);
    if (!bytes) {
        return Refuse(error, place + ".definition",
                      "expected bytes in hex, such as \"01 01 00 06\"");
    }
    key.definition = *bytes;
    return CheckDefinition(key, place, layout, error);
}

bool ReadProfile(const Json& json, const KeyboardLayoutByName& layoutByName, Profile& profile,
                 std::string& error) {
    if (!json.is_object()) return Refuse(error, "profile", "expected a JSON object");
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || format->get<std::string>() != kFormat) {
        return Refuse(error, "format",
                      "this is no Varnok profile (expected \"format\": \"varnok-profile\")");
    }
    int version = 0;
    const auto unknownVersion = [](const std::string& number) {
        return "unknown version " + number + "; this Varnok reads version " +
               std::to_string(kProfileVersion);
    };
    if (!ReadInteger(json, "profile", "version", "version", kProfileVersion, kProfileVersion,
                     unknownVersion, version, error)) {
        return false;
    }
    if (!OnlyKnownMembers(json, "profile",
                          {"format", "version", "language", "keyCount", "layout", "keys"}, error)) {
        return false;
    }

    std::string language;
    if (!ReadString(json, "profile", "language", "language", language, error)) return false;
    const auto found = std::find(kLanguages.begin(), kLanguages.end(), language);
    if (found == kLanguages.end()) {
        return Refuse(error, "language", "expected \"English\" or \"Chinese\"");
    }
    profile.language = static_cast<std::int32_t>(found - kLanguages.begin());
    const auto keyCountOutOfRange = [](const std::string& number) {
        return "expected 1 to 6 keys shown, not " + number;
    };
    if (!ReadInteger(json, "profile", "keyCount", "keyCount", 1, kMaxKeyCount, keyCountOutOfRange,
                     profile.keyCount, error)) {
        return false;
    }

    // The strings' bytes are checked against the layout they were encoded for.
    std::unique_ptr<KeyboardLayout> named;
    if (json.contains("layout")) {
        if (!ReadString(json, "profile", "layout", "layout", profile.layout, error)) return false;
        if (!profile.layout.empty()) {
            std::string reason = "this Varnok cannot read keyboard layouts";
            if (layoutByName) named = layoutByName(profile.layout, reason);
            if (!named) return Refuse(error, "layout", reason);
        }
    }
    const KeyboardLayout& layout = named ? *named : UsKeyboardLayout();

    const Json* keys = Member(json, "profile", "keys", error);
    if (keys == nullptr) return false;
    if (!keys->is_array()) return Refuse(error, "keys", "expected a list");
    std::array<bool, kLastSlot + 1> seen{};
    for (std::size_t i = 0; i < keys->size(); ++i) {
        const std::string place = "keys[" + std::to_string(i) + "]";
        ProfileKey key;
        if (!ReadKey((*keys)[i], place, layout, key, error)) return false;
        if (seen[static_cast<std::size_t>(key.slot)]) {
            return Refuse(error, place + ".key",
                          "key " + std::to_string(key.slot) + " appears twice");
        }
        seen[static_cast<std::size_t>(key.slot)] = true;
        profile.keys.push_back(std::move(key));
    }
    std::sort(profile.keys.begin(), profile.keys.end(),
              [](const ProfileKey& a, const ProfileKey& b) { return a.slot < b.slot; });
    return true;
}

}  // namespace

std::string WriteProfileJson(const Profile& profile) {
    Json json;
    json["format"] = kFormat;
    json["version"] = kProfileVersion;
    json["language"] = kLanguages[profile.language == 0 ? 0 : 1];
    json["keyCount"] = profile.keyCount;
    if (!profile.layout.empty()) json["layout"] = profile.layout;
    json["keys"] = Json::array();
    for (const ProfileKey& key : profile.keys) {
        Json entry;
        entry["key"] = key.slot;
        entry["function"] = FunctionModeNames(0)[static_cast<std::size_t>(key.function)];
        entry["text"] = key.text;
        entry["definition"] = FormatHexBytes(key.definition);
        json["keys"].push_back(std::move(entry));
    }
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<Profile> ReadProfileJson(std::string_view text, std::string& error,
                                       const KeyboardLayoutByName& layoutByName) {
    // nlohmann reports malformed JSON only by exception; the position it gives is the place.
    // A member given twice would silently be the last one: the parse names the first such.
    Json json;
    MemberPaths paths;
    try {
        json = Json::parse(text, [&paths](int, Json::parse_event_t event, Json& parsed) {
            paths.Take(event, parsed);
            return true;
        });
    } catch (const Json::parse_error& e) {
        error = LineAndColumn(text, e.byte == 0 ? 0 : e.byte - 1) + ": not valid JSON";
        return std::nullopt;
    } catch (const Json::out_of_range&) {
        // A number no double can hold ("1e999"); nlohmann gives no position for it.
        error = "not valid JSON: a number out of range";
        return std::nullopt;
    }
    if (!paths.Twice().empty()) {
        Refuse(error, paths.Twice(), "the member appears twice");
        return std::nullopt;
    }
    Profile profile;
    if (!ReadProfile(json, layoutByName, profile, error)) return std::nullopt;
    return profile;
}

}  // namespace varnok
