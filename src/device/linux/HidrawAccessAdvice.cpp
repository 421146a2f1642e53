#include "device/linux/HidrawAccessAdvice.h"

#include <cstdio>
#include <vector>

#include "store/linux/SystemErrorText.h"

namespace varnok {
namespace {

// %1 is the node, or the nodes separated by ", ".
constexpr const char* kEnglish =
    "The keyboard is at %1, but this user may not open it. Install Varnok's udev rule "
    "70-varnok.rules (the Varnok package does; from the source, copy it into "
    "/etc/udev/rules.d/), then unplug the keyboard and plug it in again.";
constexpr const char* kChinese =
    "键盘位于 %1，但当前用户无权打开它。请安装 Varnok 的 udev 规则 70-varnok.rules"
    "（安装 Varnok 软件包即可；从源码安装时把它复制到 /etc/udev/rules.d/），"
    "然后拔下键盘再重新插入。";

std::string Replace(std::string text, const std::string& nodes) {
    const std::size_t at = text.find("%1");
    return text.replace(at, 2, nodes);
}

std::string Hex4(std::uint16_t value) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04x", value);
    return digits;
}

}  // namespace

HidrawAccessAdvice::HidrawAccessAdvice(const HidrawAccessCheck& check) : check_(check) {}

std::string HidrawAccessAdvice::Advise(std::int32_t language, std::ostream& log) const {
    const std::vector<RefusedKeyboard> refused = check_.RefusedKeyboards();
    if (refused.empty()) return {};
    std::string nodes;
    for (const RefusedKeyboard& keyboard : refused) {
        if (!nodes.empty()) nodes += ", ";
        nodes += keyboard.node;
        log << "varnok: the keyboard (" << Hex4(keyboard.vendorId) << ':'
            << Hex4(keyboard.productId) << ") is at " << keyboard.node
            << ", but this user may not open it (" << SystemErrorText(keyboard.error)
            << "): install the udev rule 70-varnok.rules and replug the keyboard\n";
    }
    return Replace(language == 0 ? kEnglish : kChinese, nodes);
}

}  // namespace varnok
