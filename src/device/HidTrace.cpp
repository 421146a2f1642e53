#include "device/HidTrace.h"

#include <charconv>
#include <cstdio>
#include <system_error>

#include "device/HexBytes.h"
#include "device/KeyboardLink.h"
#include "store/AppendFile.h"
#include "store/FileProblemTexts.h"
#include "store/QuotedText.h"
#include "store/SameFile.h"

namespace varnok {
namespace {

std::string FormatMilliseconds(double milliseconds) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, milliseconds, std::chars_format::fixed, 3);
    std::string text(buffer, result.ptr);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

std::string FormatHex16(std::uint16_t value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(value));
    return buffer;
}

}  // namespace

HidTrace::HidTrace(HidPlatform& inner, Clock& clock, std::ostream& out)
    : inner_(inner), clock_(clock), out_(out) {}

HidTrace::HidTrace(HidPlatform& inner, Clock& clock, std::unique_ptr<std::ostream> file)
    : inner_(inner), clock_(clock), file_(std::move(file)), out_(*file_) {}

std::unique_ptr<HidTrace> HidTrace::ToFile(HidPlatform& inner, Clock& clock,
                                           const std::filesystem::path& path,
                                           std::span<const ProtectedFile> protectedFiles,
                                           std::string& error) {
    for (const ProtectedFile& other : protectedFiles) {
        if (SameFile(path, other.path)) {
            error = PathInMessage(path) + ": is " + other.what +
                    "; the HID trace needs a file of its own";
            return nullptr;
        }
    }
    FileResult result;
    auto file = OpenAppendFile(path, result);
    if (!file) {
        error = "the HID trace cannot be written: " + DescribeFileResult(result, 0);
        return nullptr;
    }
    return std::unique_ptr<HidTrace>(new HidTrace(inner, clock, std::move(file)));
}

std::optional<std::vector<HidInterface>> HidTrace::EnumerateInterfaces() {
    return inner_.EnumerateInterfaces();
}

HidHandle HidTrace::Open(const std::string& path) {
    const HidHandle handle = inner_.Open(path);
    if (handle == kNoHidHandle) {
        WriteComment(path, "open" + Failed());
        return handle;
    }
    if (!origin_) {
        origin_ = clock_.NowMilliseconds();
    }
    paths_[handle] = path;
    return handle;
}

bool HidTrace::GetAttributes(HidHandle handle, std::uint16_t& vendorId, std::uint16_t& productId) {
    return inner_.GetAttributes(handle, vendorId, productId);
}

bool HidTrace::GetCollections(HidHandle handle, std::vector<HidCollection>& collections) {
    if (!inner_.GetCollections(handle, collections)) {
        return false;
    }
    if (const auto qualifying = KeyboardLink::FindQualifyingCollection(collections)) {
        const HidCollection& collection = qualifying->collection;
        const auto path = paths_.find(handle);
        WriteComment(path == paths_.end() ? std::string() : path->second,
                     "collection " + std::to_string(qualifying->index) + ", usage page " +
                         FormatHex16(collection.usagePage) + ", usage " +
                         FormatHex16(collection.usage) + ", feature report length " +
                         std::to_string(collection.featureReportLength));
    }
    return true;
}

bool HidTrace::SetFeature(HidHandle handle, const FeatureReport& report) {
    const bool accepted = inner_.SetFeature(handle, report);
    Log("set", report, accepted);
    return accepted;
}

bool HidTrace::GetFeature(HidHandle handle, FeatureReport& report) {
    // What a failed request leaves in the buffer is the backend's business; log the request.
    const FeatureReport request = report;
    const bool accepted = inner_.GetFeature(handle, report);
    Log("get", accepted ? report : request, accepted);
    return accepted;
}

void HidTrace::Close(HidHandle handle) {
    inner_.Close(handle);
    paths_.erase(handle);
}

void HidTrace::Pause(int milliseconds) {
    inner_.Pause(milliseconds);
}

HidError HidTrace::LastError() const {
    return inner_.LastError();
}

std::string HidTrace::Failed() const {
    const HidError error = inner_.LastError();
    return error.text.empty() ? " failed" : " failed: " + DescribeHidError(error);
}

void HidTrace::Log(const char* kind, const FeatureReport& report, bool accepted) {
    const double now = clock_.NowMilliseconds();
    if (!origin_) {
        origin_ = now;
    }
    WriteLine(FormatMilliseconds(now - *origin_) + ' ' + kind + ' ' + FormatHexBytes(report) +
              (accepted ? "" : Failed()));
}

void HidTrace::WriteComment(const std::string& path, const std::string& text) {
    // Before the keyboard was first opened, the time is 0.
    const double now = clock_.NowMilliseconds();
    WriteLine("# " + FormatMilliseconds(now - origin_.value_or(now)) + ' ' + path + ": " + text);
}

void HidTrace::WriteLine(const std::string& text) {
    out_ << text << '\n' << std::flush;
}

}  // namespace varnok
