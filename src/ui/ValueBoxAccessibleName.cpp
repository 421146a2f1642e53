#include "ui/ValueBoxAccessibleName.h"

namespace varnok {
namespace {

// A chord row names each key followed by "|", and ends with ",".
std::string SpokenChord(std::string text) {
    if (text.ends_with("|,")) text.resize(text.size() - 2);
    std::string spoken;
    std::size_t from = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', from)) {
        spoken += text.substr(from, bar - from) + '+';
        from = bar + 1;
    }
    return spoken + text.substr(from);
}

}  // namespace

std::string ValueBoxAccessibleName(std::string_view key, const std::string& shown, bool chord,
                                   bool recording, std::int32_t language) {
    const bool chinese = language != 0;
    std::string name(key);
    name += chinese ? "，" : ", ";
    if (recording) return name + (chinese ? "录制中：请按下按键" : "recording: press the keys");
    if (shown.empty()) return name + (chinese ? "空" : "empty");
    return name + (chord ? SpokenChord(shown) : shown);
}

}  // namespace varnok
