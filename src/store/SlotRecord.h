#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/GbkCodec.h"
#include "store/SlotEntry.h"

namespace varnok {

// One entry of msmap.dat: a fixed-size record with no header, count or padding between
// records. Each field is followed by a zero byte; fields shorter than their size end with a
// zero byte and are zero-filled. Byte 1 is reserved: written as 0, ignored when read.
// clang-format off
struct SlotRecordLayout {
    //                                          offset        size
    static constexpr std::size_t kFlagOffset =  0;
    static constexpr std::size_t kNameOffset =  2;  static constexpr std::size_t kNameSize = 30;
    static constexpr std::size_t kTextOffset = 33;  static constexpr std::size_t kTextSize = 25;
    static constexpr std::size_t kDataOffset = 59;  static constexpr std::size_t kDataSize = 25;
    static constexpr std::size_t kRecordSize = 85;
};
// clang-format on

using SlotRecord = std::array<std::uint8_t, SlotRecordLayout::kRecordSize>;

// The record of an entry: the name as its bytes, the text in GBK, both cut to their fields;
// a text cut never splits a double-byte character.
SlotRecord EncodeSlotRecord(const SlotEntry& entry, GbkCodec& codec);
// The record of an entry whose text is given as the bytes to store, at most the field's 25
// (a text read from a record goes back exactly as it was read).
SlotRecord EncodeSlotRecord(const SlotEntry& entry, std::string_view gbkText);

// The longest beginning of a text (UTF-8) whose GBK fits the text field, never splitting a
// character: the text itself when it fits. A record keeps this much of a longer text.
std::string FitSlotRecordText(std::string_view text, GbkCodec& codec);

// The entry a record holds: name and text up to their first zero byte or the whole field,
// the text converted to UTF-8.
SlotEntry DecodeSlotRecord(std::span<const std::uint8_t, SlotRecordLayout::kRecordSize> record,
                           GbkCodec& codec);
// Every Varnok build writes each record zero-filled, so the byte after each field is zero in
// every record it wrote. A file is taken for msmap.dat only when every record has them zero,
// a last record cut short at those it holds, and it holds a zero byte at all: a profile in
// UTF-16, an image or a text given for the map is left alone. Byte 1 is no part of the test (files
// from elsewhere hold anything there).
bool IsSlotMapFile(std::span<const std::uint8_t> contents);
// The text field's bytes up to its first zero byte, as stored.
std::string_view SlotRecordText(
    std::span<const std::uint8_t, SlotRecordLayout::kRecordSize> record);

}  // namespace varnok
