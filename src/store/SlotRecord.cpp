#include "store/SlotRecord.h"

#include <algorithm>
#include <string_view>

namespace varnok {

namespace {

using Layout = SlotRecordLayout;

static_assert(Layout::kNameOffset + Layout::kNameSize < Layout::kTextOffset);
static_assert(Layout::kTextOffset + Layout::kTextSize < Layout::kDataOffset);
static_assert(Layout::kDataOffset + Layout::kDataSize < Layout::kRecordSize);
static_assert(Layout::kDataSize == std::tuple_size_v<SlotData>);

std::string_view Field(const std::uint8_t* field, std::size_t size) {
    const std::uint8_t* end = std::find(field, field + size, 0);
    return {reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field)};
}

}  // namespace

SlotRecord EncodeSlotRecord(const SlotEntry& entry, GbkCodec& codec) {
    const std::string text = codec.ToGbk(entry.text);
    return EncodeSlotRecord(
        entry, std::string_view(text).substr(0, GbkCodec::CutLength(text, Layout::kTextSize)));
}

SlotRecord EncodeSlotRecord(const SlotEntry& entry, std::string_view gbkText) {
    SlotRecord record{};
    record[Layout::kFlagOffset] = entry.flag;
    const std::size_t nameLength = std::min(entry.name.size(), Layout::kNameSize);
    std::copy_n(entry.name.begin(), nameLength, record.begin() + Layout::kNameOffset);
    const std::size_t textLength = std::min(gbkText.size(), Layout::kTextSize);
    std::copy_n(gbkText.begin(), textLength, record.begin() + Layout::kTextOffset);
    std::copy(entry.data.begin(), entry.data.end(), record.begin() + Layout::kDataOffset);
    return record;
}

std::string FitSlotRecordText(std::string_view text, GbkCodec& codec) {
    const std::string gbk = codec.ToGbk(text);
    if (gbk.size() <= Layout::kTextSize) return std::string(text);
    return codec.ToUtf8(
        std::string_view(gbk).substr(0, GbkCodec::CutLength(gbk, Layout::kTextSize)));
}

SlotEntry DecodeSlotRecord(std::span<const std::uint8_t, SlotRecordLayout::kRecordSize> record,
                           GbkCodec& codec) {
    SlotEntry entry;
    entry.flag = record[Layout::kFlagOffset];
    entry.name = Field(record.data() + Layout::kNameOffset, Layout::kNameSize);
    entry.text = codec.ToUtf8(SlotRecordText(record));
    std::copy_n(record.begin() + Layout::kDataOffset, Layout::kDataSize, entry.data.begin());
    return entry;
}

bool IsSlotMapFile(std::span<const std::uint8_t> contents) {
    // A file too short for a record still holds the zeros of one that was cut short.
    if (!contents.empty() && std::find(contents.begin(), contents.end(), 0) == contents.end()) {
        return false;
    }
    // A record cut short is tested too, at the field ends it still holds: a profile in UTF-16
    // too short for a whole record has a letter where the zero after a name belongs.
    for (; !contents.empty();
         contents = contents.subspan(std::min(contents.size(), Layout::kRecordSize))) {
        for (const std::size_t end :
             {Layout::kNameOffset + Layout::kNameSize, Layout::kTextOffset + Layout::kTextSize,
              Layout::kDataOffset + Layout::kDataSize}) {
            if (end < contents.size() && contents[end] != 0) return false;
        }
    }
    return true;
}

std::string_view SlotRecordText(
    std::span<const std::uint8_t, SlotRecordLayout::kRecordSize> record) {
    return Field(record.data() + Layout::kTextOffset, Layout::kTextSize);
}

}  // namespace varnok
