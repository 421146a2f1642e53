#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "keys/KeyReadBack.h"
#include "keys/StringPayload.h"

namespace varnok {

// Collects a string slot's payload from the pages the keyboard returns for it. The first page
// declares the length n in d0 and carries up to five payload bytes in d2..d6; each further
// read of the same page carries the next seven in d0..d6, and at most five further reads are
// taken. The keyboard may declare up to 255 bytes: the reads follow what it declares, but only
// the first 28 bytes, all a string key can hold, are kept.
class StringPayloadAssembler {
public:
    explicit StringPayloadAssembler(const ReadBackData& first);

    // True while the keyboard still owes payload bytes and another read is allowed.
    bool WantsContinuation() const;
    void AddContinuation(const ReadBackData& data);

    std::span<const std::uint8_t> Payload() const { return {payload_.data(), size_}; }
    std::string Text() const { return DecodeStringPayload(Payload()); }

private:
    void Append(std::span<const std::uint8_t> bytes);

    std::array<std::uint8_t, kMaxStringPayload> payload_{};
    std::size_t size_ = 0;
    std::size_t remaining_ = 0;
    int continuations_ = 0;
};

}  // namespace varnok
