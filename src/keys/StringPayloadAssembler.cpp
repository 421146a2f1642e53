#include "keys/StringPayloadAssembler.h"

#include <algorithm>

namespace varnok {

namespace {

constexpr std::size_t kFirstPageBytes = 5;
constexpr std::size_t kContinuationBytes = 7;
constexpr int kMaxContinuations = 5;

}  // namespace

StringPayloadAssembler::StringPayloadAssembler(const ReadBackData& first) : remaining_(first[0]) {
    const std::size_t count = std::min(remaining_, kFirstPageBytes);
    Append(std::span(first).subspan(2, count));
    remaining_ -= count;
}

bool StringPayloadAssembler::WantsContinuation() const {
    return remaining_ > 0 && continuations_ < kMaxContinuations;
}

void StringPayloadAssembler::AddContinuation(const ReadBackData& data) {
    const std::size_t count = std::min(remaining_, kContinuationBytes);
    Append(std::span(data).first(count));
    remaining_ -= count;
    ++continuations_;
}

void StringPayloadAssembler::Append(std::span<const std::uint8_t> bytes) {
    const std::size_t kept = std::min(bytes.size(), payload_.size() - size_);
    std::copy_n(bytes.begin(), kept, payload_.begin() + size_);
    size_ += kept;
}

}  // namespace varnok
