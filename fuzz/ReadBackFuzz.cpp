// Pages the keyboard returns for a slot: a string is assembled within its five further reads
// and 28 bytes, and its text encodes back to a payload that decodes to the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "FuzzCheck.h"
#include "keys/KeyReadBack.h"
#include "keys/StringPayload.h"
#include "keys/StringPayloadAssembler.h"

namespace {

// The index-th 7-byte page of the input after its first byte; FF past the end, as the
// keyboard answers for a page it does not have.
varnok::ReadBackData PageAt(std::span<const std::uint8_t> pages, std::size_t index) {
    varnok::ReadBackData data;
    data.fill(0xFF);
    const std::size_t start = index * data.size();
    if (start < pages.size()) {
        const std::size_t count = std::min(data.size(), pages.size() - start);
        std::copy_n(pages.begin() + static_cast<std::ptrdiff_t>(start), count, data.begin());
    }
    return data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    if (size == 0) return 0;
    const auto slot = static_cast<std::uint8_t>(bytes[0] % 7);
    const std::span<const std::uint8_t> pages(bytes + 1, size - 1);
    const ReadBackData first = PageAt(pages, 0);

    switch (ClassifyReadBack(slot, first)) {
        case ReadBackKind::Empty:
            break;
        case ReadBackKind::String: {
            StringPayloadAssembler assembler(first);
            std::size_t reads = 0;
            while (assembler.WantsContinuation()) {
                Require(++reads <= 5, "at most five further reads");
                assembler.AddContinuation(PageAt(pages, reads));
            }
            Require(assembler.Payload().size() <= kMaxStringPayload, "at most 28 payload bytes");
            const std::string text = assembler.Text();
            const auto encoded = EncodeStringPayload(text);
            Require(encoded.size() <= assembler.Payload().size(), "the text needs no more bytes");
            Require(DecodeStringPayload(encoded) == text, "the text encodes back to itself");
            break;
        }
        case ReadBackKind::Mouse:
        case ReadBackKind::Keyboard: {
            const KeyReadBack key = InterpretKeyReadBack(slot, first);
            Require(!key.functionMode || slot != 0, "slot 0 has no function mode");
            break;
        }
    }
    return 0;
}
