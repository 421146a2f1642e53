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
    SlotRecord record{};
    record[Layout::kFlagOffset] = entry.flag;
    const std::size_t nameLength = std::min(entry.name.size(), Layout::kNameSize);
    std::copy_n(entry.name.begin(), nameLength, record.begin() + Layout::kNameOffset);
    const std::string text = codec.ToGbk(entry.text);
    const std::size_t textLength = GbkCodec::CutLength(text, Layout::kTextSize);
    std::copy_n(text.begin(), textLength, record.begin() + Layout::kTextOffset);
    std::copy(entry.data.begin(), entry.data.end(), record.begin() + Layout::kDataOffset);
    return record;
}

SlotEntry DecodeSlotRecord(std::span<const std::uint8_t, SlotRecordLayout::kRecordSize> record,
                           GbkCodec& codec) {
    SlotEntry entry;
    entry.flag = record[Layout::kFlagOffset];
    entry.name = Field(record.data() + Layout::kNameOffset, Layout::kNameSize);
    entry.text = codec.ToUtf8(Field(record.data() + Layout::kTextOffset, Layout::kTextSize));
    std::copy_n(record.begin() + Layout::kDataOffset, Layout::kDataSize, entry.data.begin());
    return entry;
}

}  // namespace varnok
