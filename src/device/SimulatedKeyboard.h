#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/Clock.h"
#include "device/HidPlatform.h"
#include "device/SimulatedKeyboardMemory.h"

namespace varnok {

// The keyboard's side of the feature-report protocol, behind the HID platform interface: one
// interface that stores the key records it receives and answers page reads, so the whole tool
// runs without the hardware. Tests also use it to inject faults and to see every report and
// pause in order; its pauses go to the given clock.
//
// Received data reports form a byte stream in which each record starts at the first data byte
// of a report and its own content says where it ends; the padding after its FF is ignored.
// A record that is malformed or too long is dropped whole, and the slot keeps what it held.
class SimulatedKeyboard : public HidPlatform {
public:
    static constexpr std::uint16_t kVendorId = 0x0426;
    static constexpr std::uint16_t kProductId = 0x5601;
    static constexpr const char* kPath = "simulated-keyboard";
    // Its one collection: the vendor collection that carries the configuration reports.
    static constexpr std::uint16_t kUsagePage = 0xFF00;
    static constexpr std::uint16_t kUsage = 0x0001;

    // An empty keyboard whose key table lives only in memory.
    explicit SimulatedKeyboard(Clock& clock);
    // A keyboard whose key table is kept in the text file at path: loaded now (a missing file
    // is an empty keyboard) and written after every record received. Nullptr, and a message
    // in error, when the file cannot be read or is malformed.
    static std::unique_ptr<SimulatedKeyboard> FromFile(const std::filesystem::path& path,
                                                       Clock& clock, std::string& error);

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override;
    HidHandle Open(const std::string& path) override;
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override;
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override;
    // Refused when the table file cannot be written: the record would be lost silently.
    bool SetFeature(HidHandle handle, const FeatureReport& report) override;
    bool GetFeature(HidHandle handle, FeatureReport& report) override;
    void Close(HidHandle handle) override;
    void Pause(int milliseconds) override;
    // The simulated keyboard's own words: unplugged, refusing as told, a table file that
    // cannot be written (with the file's reason).
    HidError LastError() const override { return lastError_; }

    const SimulatedKeyboardMemory& Table() const { return table_; }
    // End records (AA FF) received: completed saves.
    int CompletedSaves() const { return completedSaves_; }
    int DroppedRecords() const { return droppedRecords_; }
    // True between the first and the last report of a record: the next data report continues
    // it.
    bool ReceivingRecord() const { return !pending_.empty(); }
    // Fault injection: refuse the ordinal-th set or get request since construction (1 = the
    // first), counted as SetCount and GetCount count them.
    void RefuseSet(std::size_t ordinal) { refusedSets_.insert(ordinal); }
    void RefuseGet(std::size_t ordinal) { refusedGets_.insert(ordinal); }
    // Unplugging drops every open handle and any record in progress; plugging back in keeps
    // the stored table.
    void Unplug();
    void Plug() { plugged_ = true; }

    std::size_t SetCount() const { return setCount_; }
    std::size_t GetCount() const { return getCount_; }
    std::size_t OpenHandleCount() const { return openHandles_.size(); }
    // Every report and pause in order: "set 06 02 00 FF 00 00 00 00", "get 06 ...", each with
    // " failed" when refused, and "pause 200".
    const std::vector<std::string>& Transcript() const { return transcript_; }

private:
    bool IsUsable(HidHandle handle) const;
    // Keeps why a request is refused; false.
    bool Refuse(std::string reason);
    // True when the handle is open and the report is the keyboard's, unless told to refuse.
    bool Acceptable(HidHandle handle, const FeatureReport& report, bool toldToRefuse);
    bool Receive(const FeatureReport& report);
    bool Keep(std::span<const std::uint8_t> record);
    void ForgetSession();

    Clock& clock_;
    std::optional<std::filesystem::path> path_;
    SimulatedKeyboardMemory table_;
    bool plugged_ = true;
    HidHandle nextHandle_ = 1;
    std::set<HidHandle> openHandles_;
    // The record being received and the length its first bytes announced.
    std::vector<std::uint8_t> pending_;
    std::size_t pendingLength_ = 0;
    std::optional<std::uint8_t> selectedPage_;
    std::size_t pageReportIndex_ = 0;
    int completedSaves_ = 0;
    int droppedRecords_ = 0;
    HidError lastError_;
    std::set<std::size_t> refusedSets_;
    std::set<std::size_t> refusedGets_;
    std::size_t setCount_ = 0;
    std::size_t getCount_ = 0;
    std::vector<std::string> transcript_;
};

}  // namespace varnok
