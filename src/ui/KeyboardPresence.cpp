#include "ui/KeyboardPresence.h"

namespace varnok {

KeyboardPresence PresenceOfLink(const KeyboardLink& link) {
    KeyboardPresence presence;
    if (link.Collection()) {
        presence.state = KeyboardPresence::State::Connected;
        presence.interfacePath = link.InterfacePath();
        presence.collection = *link.Collection();
    }
    return presence;
}

KeyboardPresence LookForKeyboard(HidPlatform& hid, const ConnectionAdvice& advice,
                                 std::int32_t language) {
    KeyboardLink link(hid);
    link.Open();
    KeyboardPresence presence = PresenceOfLink(link);
    if (presence.state == KeyboardPresence::State::Connected) return presence;
    presence.advice = advice ? advice(language) : std::string();
    presence.state = presence.advice.empty() ? KeyboardPresence::State::Absent
                                             : KeyboardPresence::State::Refused;
    return presence;
}

}  // namespace varnok
