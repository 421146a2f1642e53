// msmap.dat as any file may hold it: loading, saving and loading again gives the same file,
// and every entry keeps the bytes of the last record that named it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "FuzzCheck.h"
#include "store/GbkCodec.h"
#include "store/SlotMap.h"
#include "store/SlotRecord.h"

namespace {

using namespace varnok;
constexpr std::size_t kRecordSize = SlotRecordLayout::kRecordSize;

struct LastRecord {
    std::string text;  // the last non-empty text field, as stored
    SlotData data{};
    std::uint8_t flag = 0;
};

std::span<const std::uint8_t, kRecordSize> RecordAt(std::span<const std::uint8_t> file,
                                                    std::size_t index) {
    return file.subspan(index * kRecordSize).first<kRecordSize>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::span<const std::uint8_t> file(bytes, size);
    SlotMap loaded;
    loaded.Read(file);
    const std::vector<std::uint8_t> saved = loaded.Contents();
    Require(saved.size() == loaded.Size() * kRecordSize, "one record per entry");

    SlotMap reloaded;
    reloaded.Read(saved);
    Require(reloaded.Contents() == saved, "load-save-load gives the same file");

    // What each name's records say, by the rule that a later record updates an earlier one
    // and an empty text keeps the earlier text.
    GbkCodec codec;
    std::map<std::string, LastRecord> expected;
    for (std::size_t i = 0; i < size / kRecordSize; ++i) {
        const auto record = RecordAt(file, i);
        const SlotEntry entry = DecodeSlotRecord(record, codec);
        LastRecord& last = expected[entry.name];
        if (!SlotRecordText(record).empty()) last.text = SlotRecordText(record);
        last.data = entry.data;
        last.flag = entry.flag;
    }
    Require(expected.size() == loaded.Size(), "one entry per name");
    for (std::size_t i = 0; i < saved.size() / kRecordSize; ++i) {
        const auto record = RecordAt(saved, i);
        const SlotEntry entry = DecodeSlotRecord(record, codec);
        const auto it = expected.find(entry.name);
        Require(it != expected.end(), "no entry the file did not name");
        Require(SlotRecordText(record) == it->second.text, "texts go back byte for byte");
        Require(entry.data == it->second.data && entry.flag == it->second.flag,
                "data and flag go back unchanged");
        const SlotEntry* found = reloaded.Find(entry.name);
        Require(found != nullptr && *found == *loaded.Find(entry.name), "entries survive");
    }
    return 0;
}
