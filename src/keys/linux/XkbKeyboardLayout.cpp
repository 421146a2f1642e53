#include "keys/linux/XkbKeyboardLayout.h"

#include <xkbcommon/xkbcommon.h>
#include <xkbcommon/xkbregistry.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "device/ScanCodeUsageTable.h"
#include "keys/MappedKeyboardLayout.h"
#include "keys/linux/EvdevToSet1Table.h"

namespace varnok {

namespace {

// X keycodes are the kernel's evdev codes plus 8.
constexpr xkb_keycode_t kEvdevOffset = 8;

struct XkbName {
    std::string layout;
    std::string variant;
};

// "us(dvorak)" into its layout and variant; none for a name the rules could not mean.
std::optional<XkbName> SplitName(std::string_view name) {
    const auto isNameCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    };
    XkbName split;
    const auto open = name.find('(');
    split.layout = std::string(name.substr(0, open));
    if (open != std::string_view::npos) {
        if (!name.ends_with(')')) return std::nullopt;
        split.variant = std::string(name.substr(open + 1, name.size() - open - 2));
        if (split.variant.empty()) return std::nullopt;
    }
    if (split.layout.empty()) return std::nullopt;
    for (const std::string* part : {&split.layout, &split.variant}) {
        if (!std::all_of(part->begin(), part->end(), isNameCharacter)) return std::nullopt;
    }
    return split;
}

// The registry's description of the layout ("German"); none when it lists no such layout.
std::optional<std::string> Description(const XkbName& name) {
    rxkb_context* registry = rxkb_context_new(RXKB_CONTEXT_NO_FLAGS);
    if (registry == nullptr) return std::nullopt;
    std::optional<std::string> description;
    if (rxkb_context_parse_default_ruleset(registry)) {
        for (rxkb_layout* layout = rxkb_layout_first(registry); layout != nullptr;
             layout = rxkb_layout_next(layout)) {
            const char* variant = rxkb_layout_get_variant(layout);
            if (name.layout == rxkb_layout_get_name(layout) &&
                name.variant == (variant != nullptr ? variant : "")) {
                description = rxkb_layout_get_description(layout);
                break;
            }
        }
    }
    rxkb_context_unref(registry);
    return description;
}

// The HID usage of the key with this X keycode, through its set-1 scan code.
std::optional<std::uint8_t> UsageOfKeycode(xkb_keycode_t keycode) {
    if (keycode < kEvdevOffset) return std::nullopt;
    const auto evdev = keycode - kEvdevOffset;
    const auto row = std::find_if(EvdevToSet1Table.begin(), EvdevToSet1Table.end(),
                                  [&](const EvdevSet1Row& r) { return r.evdevCode == evdev; });
    if (row == EvdevToSet1Table.end() || row->prefix == Set1Prefix::E1) return std::nullopt;
    const std::uint16_t prefix = row->prefix == Set1Prefix::E0 ? 0xE000 : 0;
    return UsageOfScanCode(static_cast<std::uint16_t>(prefix | row->scanByte));
}

// The characters a dead key stands for as it is printed on the key: pressed with Space it
// types them, which a string key cannot do in one press.
struct DeadKeyCharacters {
    xkb_keysym_t keysym;
    std::array<char32_t, 2> characters;
};
constexpr std::array<DeadKeyCharacters, 14> kDeadKeys = {{
    {XKB_KEY_dead_grave, {U'`', 0}},
    {XKB_KEY_dead_acute, {U'\'', U'\u00B4'}},
    {XKB_KEY_dead_circumflex, {U'^', 0}},
    {XKB_KEY_dead_tilde, {U'~', 0}},
    {XKB_KEY_dead_diaeresis, {U'"', U'\u00A8'}},
    {XKB_KEY_dead_cedilla, {U'\u00B8', 0}},
    {XKB_KEY_dead_abovering, {U'\u00B0', 0}},
    {XKB_KEY_dead_caron, {U'\u02C7', 0}},
    {XKB_KEY_dead_macron, {U'\u00AF', 0}},
    {XKB_KEY_dead_breve, {U'\u02D8', 0}},
    {XKB_KEY_dead_abovedot, {U'\u02D9', 0}},
    {XKB_KEY_dead_doubleacute, {U'\u02DD', 0}},
    {XKB_KEY_dead_ogonek, {U'\u02DB', 0}},
    {XKB_KEY_dead_belowdot, {U'.', 0}},
}};

bool IsKeypad(xkb_keysym_t keysym) {
    return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_Equal;
}

// The control characters a string key types, as the US table has them: Tab, Escape, Delete.
bool IsTypedCharacter(char32_t character) {
    return character >= 0x20 || character == U'\t' || character == U'\x1B';
}

struct Keymap {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    ~Keymap() {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
};

// How a level of a key is reached.
enum class Reach { Plain, Shift, Other };

Reach ReachOf(xkb_keymap* keymap, xkb_keycode_t keycode, xkb_level_index_t level,
              xkb_mod_mask_t shift) {
    std::array<xkb_mod_mask_t, 16> masks{};
    const std::size_t count =
        xkb_keymap_key_get_mods_for_level(keymap, keycode, 0, level, masks.data(), masks.size());
    const auto end = masks.begin() + static_cast<std::ptrdiff_t>(count);
    if (std::find(masks.begin(), end, 0u) != end) return Reach::Plain;
    if (std::find(masks.begin(), end, shift) != end) return Reach::Shift;
    return Reach::Other;
}

void WalkKeymap(xkb_keymap* keymap, MappedKeyboardLayout& layout) {
    const xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    const xkb_mod_mask_t shift = shiftIndex == XKB_MOD_INVALID ? 0 : 1u << shiftIndex;
    const xkb_keycode_t first = xkb_keymap_min_keycode(keymap);
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    xkb_level_index_t levels = 0;
    for (xkb_keycode_t keycode = first; keycode <= last; ++keycode) {
        levels = std::max(levels, xkb_keymap_num_levels_for_key(keymap, keycode, 0));
    }
    // Level by level, over every key: a character on two keys is typed by the one that needs
    // no Shift, and among those by the main block before the keypad.
    for (xkb_level_index_t level = 0; level < levels; ++level) {
        for (xkb_keycode_t keycode = first; keycode <= last; ++keycode) {
            if (level >= xkb_keymap_num_levels_for_key(keymap, keycode, 0)) continue;
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, level, &syms) != 1) continue;
            const xkb_keysym_t keysym = syms[0];
            const auto usage = UsageOfKeycode(keycode);
            if (!usage) continue;
            const Reach reach = ReachOf(keymap, keycode, level, shift);
            // A keypad key's second level depends on NumLock, which a string key does not set.
            const xkb_keysym_t* firstSyms = nullptr;
            const bool keypad =
                xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, 0, &firstSyms) == 1 &&
                IsKeypad(firstSyms[0]);
            if (reach == Reach::Other || (keypad && reach == Reach::Shift)) {
                const char32_t character = xkb_keysym_to_utf32(keysym);
                if (level >= 2 && IsTypedCharacter(character)) {
                    layout.AddRefusal(character, LayoutRefusal::NeedsAltGr);
                }
                continue;
            }
            const auto dead = std::find_if(kDeadKeys.begin(), kDeadKeys.end(),
                                           [&](const auto& d) { return d.keysym == keysym; });
            if (dead != kDeadKeys.end()) {
                for (const char32_t character : dead->characters) {
                    if (character != 0) layout.AddRefusal(character, LayoutRefusal::NeedsDeadKey);
                }
                continue;
            }
            const char32_t character = xkb_keysym_to_utf32(keysym);
            if (character == 0 || !IsTypedCharacter(character)) continue;
            layout.AddKey(character, {*usage, reach == Reach::Shift});
        }
    }
}

}  // namespace

std::unique_ptr<KeyboardLayout> CompileXkbLayout(std::string_view name, std::string& error) {
    const std::optional<XkbName> split = SplitName(name);
    const std::optional<std::string> description =
        split ? Description(*split) : std::optional<std::string>();
    if (!description) {
        error = "no keyboard layout is called \"" + std::string(name) +
                "\"; layouts are named as in the system's layout list, such as de, fr, gb or "
                "us(dvorak)";
        return nullptr;
    }
    Keymap keymap;
    // Only the name given counts, not the XKB_DEFAULT_* variables of the environment.
    keymap.context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (keymap.context != nullptr) {
        xkb_context_set_log_level(keymap.context, XKB_LOG_LEVEL_CRITICAL);
        const xkb_rule_names names{.rules = "evdev",
                                   .model = "pc105",
                                   .layout = split->layout.c_str(),
                                   .variant = split->variant.c_str(),
                                   .options = ""};
        keymap.keymap =
            xkb_keymap_new_from_names(keymap.context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    if (keymap.keymap == nullptr) {
        error = "the keyboard layout \"" + std::string(name) +
                "\" could not be compiled from the system's layout data (xkb-data)";
        return nullptr;
    }
    auto layout =
        std::make_unique<MappedKeyboardLayout>(*description + " (" + std::string(name) + ")");
    WalkKeymap(keymap.keymap, *layout);
    return layout;
}

}  // namespace varnok
