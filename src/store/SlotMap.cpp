#include "store/SlotMap.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include "store/GbkCodec.h"
#include "store/ReplaceFile.h"
#include "store/SlotRecord.h"

namespace varnok {

namespace {

constexpr const char* kFileName = "msmap.dat";
// Bounds the one buffer the whole file is read into; a longer file is not loaded at all.
constexpr std::uintmax_t kLoadLimit = std::uintmax_t{4} * 1024 * 1024;

}  // namespace

SlotMap::SlotMap() : file_(kFileName) {}

SlotMap::SlotMap(std::filesystem::path directory) : file_(std::move(directory) / kFileName) {}

SlotMap SlotMap::InFile(std::filesystem::path file) {
    SlotMap map;
    map.file_ = std::move(file);
    return map;
}

void SlotMap::Set(std::string_view name, std::string_view text, const SlotData& data,
                  std::uint8_t flag) {
    auto it = entries_.find(name);
    if (it == entries_.end()) {
        it = entries_.emplace(std::string(name), SlotEntry{}).first;
        it->second.name = name;
    }
    SlotEntry& entry = it->second;
    if (!text.empty()) {
        entry.text = text;
    }
    entry.data = data;
    entry.flag = flag;
}

bool SlotMap::Remove(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    if (auto it = entries_.find(name); it != entries_.end()) {
        entries_.erase(it);
    }
    return true;
}

const SlotEntry* SlotMap::Find(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

std::size_t SlotMap::Size() const {
    return entries_.size();
}

std::filesystem::path SlotMap::FilePath() const {
    return file_;
}

bool SlotMap::Save() const {
    // Sorted by name, so that the same map always gives the same file.
    std::vector<const SlotEntry*> sorted;
    sorted.reserve(entries_.size());
    for (const auto& [name, entry] : entries_) {
        sorted.push_back(&entry);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const SlotEntry* a, const SlotEntry* b) { return a->name < b->name; });

    GbkCodec codec;
    std::vector<std::uint8_t> contents;
    contents.reserve(sorted.size() * SlotRecordLayout::kRecordSize);
    for (const SlotEntry* entry : sorted) {
        const SlotRecord record = EncodeSlotRecord(*entry, codec);
        contents.insert(contents.end(), record.begin(), record.end());
    }
    return ReplaceFile(FilePath(), contents);
}

bool SlotMap::Load() {
    const std::filesystem::path path = FilePath();
    // Only a regular file: a directory or a pipe named msmap.dat is not the store's file.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0) {
        return false;
    }
    if (length == 0 || static_cast<std::uintmax_t>(length) >= kLoadLimit) {
        return true;
    }
    const auto size = static_cast<std::size_t>(length);
    const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!buffer) {
        return false;
    }
    file.seekg(0, std::ios::beg);
    file.read(reinterpret_cast<char*>(buffer.get()), length);
    const auto bytesRead = static_cast<std::size_t>(file.gcount());
    file.close();

    GbkCodec codec;
    constexpr std::size_t kRecordSize = SlotRecordLayout::kRecordSize;
    // Room for every record under its own name, so a large file never rehashes the map.
    entries_.reserve(entries_.size() + bytesRead / kRecordSize);
    for (std::size_t offset = 0; offset + kRecordSize <= bytesRead; offset += kRecordSize) {
        const SlotEntry entry = DecodeSlotRecord(
            std::span<const std::uint8_t, kRecordSize>(buffer.get() + offset, kRecordSize), codec);
        Set(entry.name, entry.text, entry.data, entry.flag);
    }
    return true;
}

}  // namespace varnok
