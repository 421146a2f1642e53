#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varnok {

// The keyboard's own input as the key tester reads it: the input reports of its typing and
// mouse collections, nothing of any other device, and only while this object lives. One
// implementation per platform (Linux hidraw, later Windows Raw Input).
class KeyboardInput {
public:
    virtual ~KeyboardInput() = default;

    // The report descriptor of each input interface of the keyboard, indexed as Wait's
    // reports name them.
    virtual const std::vector<std::vector<std::uint8_t>>& Descriptors() const = 0;
    // What the tester should say before it starts: where the keyboard's keys will also act on
    // the desktop while they are tested, and why. Empty when they act on the tester alone.
    virtual const std::vector<std::string>& Notices() const = 0;

    enum class Wait { Report, Timeout, Failed };
    // Waits at most timeoutMilliseconds for one input report. Report: interface and report
    // filled (the report id first when the device numbers its reports). Failed: error says
    // why (the keyboard was unplugged); the input delivers nothing more.
    virtual Wait Next(int timeoutMilliseconds, std::size_t& interface,
                      std::vector<std::uint8_t>& report, std::string& error) = 0;
};

}  // namespace varnok
