// Loading the largest msmap.dat the store accepts: the whole file is read into one buffer
// and every record goes through Set, with its text converted from GBK.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "store/SlotMap.h"
#include "store/SlotRecord.h"

namespace varnok {
namespace {

constexpr std::size_t kLoadLimit = 4 * 1024 * 1024;
// As many whole records as fit below the limit.
constexpr std::size_t kRecordCount = (kLoadLimit - 1) / SlotRecordLayout::kRecordSize;

// A directory holding an msmap.dat of kRecordCount records, every third text Chinese. With
// distinctNames every record makes its own entry; otherwise they cycle through the seven
// slot names and update each other, as repeated saves of a real map would never produce
// but a hostile file could.
class LargeMapFile {
public:
    explicit LargeMapFile(bool distinctNames) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "varnok-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        directory_ = pattern;
        GbkCodec codec;
        std::vector<std::uint8_t> contents;
        contents.reserve(kRecordCount * SlotRecordLayout::kRecordSize);
        for (std::size_t i = 0; i < kRecordCount; ++i) {
            SlotEntry entry;
            entry.name = "key" + std::to_string(distinctNames ? i : i % 7);
            entry.text =
                i % 3 == 0 ? "鼠标左键" + std::to_string(i) : "Ctrl|Alt|Del|," + std::to_string(i);
            entry.data = {0x01, 0x05, 0x00, 0x4C, static_cast<std::uint8_t>(i)};
            const SlotRecord record = EncodeSlotRecord(entry, codec);
            contents.insert(contents.end(), record.begin(), record.end());
        }
        std::ofstream file(directory_ / "msmap.dat", std::ios::binary);
        file.write(reinterpret_cast<const char*>(contents.data()),
                   static_cast<std::streamsize>(contents.size()));
    }
    ~LargeMapFile() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    LargeMapFile(const LargeMapFile&) = delete;
    LargeMapFile& operator=(const LargeMapFile&) = delete;

    const std::filesystem::path& Directory() const { return directory_; }

private:
    std::filesystem::path directory_;
};

void LoadLargestFile(benchmark::State& state) {
    const LargeMapFile file(state.range(0) != 0);
    std::size_t entries = 0;
    for (auto _ : state) {
        SlotMap map(file.Directory());
        if (!map.Load()) {
            state.SkipWithError("msmap.dat could not be loaded");
            break;
        }
        entries = map.Size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["records"] = static_cast<double>(kRecordCount);
    state.counters["entries"] = static_cast<double>(entries);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) *
        static_cast<std::int64_t>(kRecordCount * SlotRecordLayout::kRecordSize));
}
BENCHMARK(LoadLargestFile)->ArgName("distinctNames")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnok

BENCHMARK_MAIN();
