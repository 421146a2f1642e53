#include "device/SimulatedKeyboard.h"

#include <utility>

#include "device/HexBytes.h"
#include "device/KeyboardProtocol.h"

namespace varnok {
namespace {

constexpr const char* kUnplugged = "the simulated keyboard is unplugged";

std::string Line(const char* kind, const FeatureReport& report, bool accepted) {
    return std::string(kind) + ' ' + FormatHexBytes(report) + (accepted ? "" : " failed");
}

}  // namespace

SimulatedKeyboard::SimulatedKeyboard(Clock& clock) : clock_(clock) {}

std::unique_ptr<SimulatedKeyboard> SimulatedKeyboard::FromFile(const std::filesystem::path& path,
                                                               Clock& clock, std::string& error) {
    auto table = SimulatedKeyboardMemory::Load(path, error);
    if (!table) {
        return nullptr;
    }
    auto keyboard = std::make_unique<SimulatedKeyboard>(clock);
    keyboard->path_ = path;
    keyboard->table_ = std::move(*table);
    return keyboard;
}

std::optional<std::vector<HidInterface>> SimulatedKeyboard::EnumerateInterfaces() {
    if (!plugged_) {
        return std::vector<HidInterface>{};
    }
    return std::vector<HidInterface>{{kPath}};
}

HidHandle SimulatedKeyboard::Open(const std::string& path) {
    if (!plugged_ || path != kPath) {
        Refuse(plugged_ ? "no such device" : kUnplugged);
        return kNoHidHandle;
    }
    openHandles_.insert(nextHandle_);
    return nextHandle_++;
}

bool SimulatedKeyboard::IsUsable(HidHandle handle) const {
    return plugged_ && openHandles_.count(handle) != 0;
}

bool SimulatedKeyboard::Refuse(std::string reason) {
    lastError_ = {std::move(reason), {}};
    return false;
}

bool SimulatedKeyboard::GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                                      std::uint16_t& productId) {
    if (!IsUsable(handle)) {
        return Refuse(kUnplugged);
    }
    vendorId = kVendorId;
    productId = kProductId;
    return true;
}

bool SimulatedKeyboard::GetCollections(HidHandle handle, std::vector<HidCollection>& collections) {
    if (!IsUsable(handle)) {
        return Refuse(kUnplugged);
    }
    collections = {{kUsagePage, kUsage, kFeatureReportSize}};
    return true;
}

bool SimulatedKeyboard::SetFeature(HidHandle handle, const FeatureReport& report) {
    ++setCount_;
    const bool accepted =
        Acceptable(handle, report, refusedSets_.count(setCount_) != 0) && Receive(report);
    transcript_.push_back(Line("set", report, accepted));
    return accepted;
}

bool SimulatedKeyboard::Acceptable(HidHandle handle, const FeatureReport& report,
                                   bool toldToRefuse) {
    if (!IsUsable(handle)) return Refuse(kUnplugged);
    if (toldToRefuse) return Refuse("the simulated keyboard refused the report, as told to");
    if (report[0] != kKeyboardReportId) return Refuse("the simulated keyboard has no such report");
    return true;
}

bool SimulatedKeyboard::Receive(const FeatureReport& report) {
    const auto data = std::span(report).subspan(1);
    if (pending_.empty()) {
        if (data[0] == kPageSelectCommand) {
            selectedPage_ = data[1];
            pageReportIndex_ = 0;
            return true;
        }
        if (data[0] == kEndRecordStart) {
            if (data[1] == kRecordEnd) {
                ++completedSaves_;
            } else {
                ++droppedRecords_;
            }
            return true;
        }
        const auto length = SimulatedKeyboardMemory::RecordLength(data[0], data[1], data[2]);
        if (!length) {
            ++droppedRecords_;
            return true;
        }
        pendingLength_ = *length;
    }
    pending_.insert(pending_.end(), data.begin(), data.end());
    if (pending_.size() < pendingLength_) {
        return true;
    }
    pending_.resize(pendingLength_);
    const std::vector<std::uint8_t> record = std::move(pending_);
    pending_.clear();
    return Keep(record);
}

bool SimulatedKeyboard::Keep(std::span<const std::uint8_t> record) {
    SimulatedKeyboardMemory updated = table_;
    if (!updated.Store(record)) {
        ++droppedRecords_;
        return true;
    }
    if (std::string error; path_ && !updated.Save(*path_, error)) {
        return Refuse(std::move(error));
    }
    table_ = std::move(updated);
    return true;
}

bool SimulatedKeyboard::GetFeature(HidHandle handle, FeatureReport& report) {
    ++getCount_;
    const bool accepted = Acceptable(handle, report, refusedGets_.count(getCount_) != 0);
    if (accepted) {
        // Without a selected page there is nothing to read: the data bytes are all FF.
        report = table_.PageReport(selectedPage_.value_or(kNoPage), pageReportIndex_++);
    }
    transcript_.push_back(Line("get", report, accepted));
    return accepted;
}

void SimulatedKeyboard::Close(HidHandle handle) {
    if (openHandles_.erase(handle) != 0 && openHandles_.empty()) {
        ForgetSession();
    }
}

void SimulatedKeyboard::ForgetSession() {
    // A record cut off by the host closing the device (after a refused report) must not eat
    // the reports of the next session.
    pending_.clear();
    pendingLength_ = 0;
}

void SimulatedKeyboard::Unplug() {
    plugged_ = false;
    openHandles_.clear();
    ForgetSession();
    selectedPage_.reset();
}

void SimulatedKeyboard::Pause(int milliseconds) {
    transcript_.push_back("pause " + std::to_string(milliseconds));
    clock_.Sleep(milliseconds);
}

}  // namespace varnok
