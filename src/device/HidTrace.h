#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "device/Clock.h"
#include "device/HidPlatform.h"

namespace varnok {

// Wraps any HID backend and logs every feature report exchanged through it, one line each:
//   <ms since the keyboard was first opened> set|get <8 bytes in hex>[ failed[: <reason>]]
// e.g. "200 set 06 17 18 19 1A 00 00 00", "300 get 06 02 00 00 00 00 00 00 failed: Broken
// pipe (errno 32)". A get shows the bytes received, or the request when it failed. Times are whole
// milliseconds when the clock says so, else with up to three decimals. Each line is flushed, so the
// log survives a crash. Discovery adds a line starting with '#' for each interface whose
// collections qualify it as the keyboard, naming the collection (counted from 0) by its usage page
// and usage in hex:
//   # 0 /dev/hidraw3: collection 1, usage page FF00, usage 0001, feature report length 8
// The link asks for collections only of interfaces with accepted ids and takes the first that
// qualifies, so this is the interface the reports after it go to. An interface that cannot be
// opened gets such a line too, with the system's reason:
//   # 0 /dev/hidraw3: open failed: Permission denied (errno 13)
class HidTrace : public HidPlatform {
public:
    // A file the trace must never go into, and what it is, for the message ("the key table").
    struct ProtectedFile {
        std::filesystem::path path;
        std::string what;
    };

    // Logs to out, which must outlive the trace.
    HidTrace(HidPlatform& inner, Clock& clock, std::ostream& out);
    // Appends to the regular file (made when missing) or the terminal at path. Nullptr and a
    // message, with nothing touched, when path is one of the protected files or anything else.
    static std::unique_ptr<HidTrace> ToFile(HidPlatform& inner, Clock& clock,
                                            const std::filesystem::path& path,
                                            std::span<const ProtectedFile> protectedFiles,
                                            std::string& error);

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override;
    HidHandle Open(const std::string& path) override;
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override;
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override;
    bool SetFeature(HidHandle handle, const FeatureReport& report) override;
    bool GetFeature(HidHandle handle, FeatureReport& report) override;
    void Close(HidHandle handle) override;
    void Pause(int milliseconds) override;
    HidError LastError() const override;

private:
    HidTrace(HidPlatform& inner, Clock& clock, std::unique_ptr<std::ostream> file);
    void Log(const char* kind, const FeatureReport& report, bool accepted);
    // "# <ms> <path>: <text>"
    void WriteComment(const std::string& path, const std::string& text);
    void WriteLine(const std::string& text);
    // " failed", with the inner platform's reason when it gives one.
    std::string Failed() const;

    HidPlatform& inner_;
    Clock& clock_;
    std::unique_ptr<std::ostream> file_;
    std::ostream& out_;
    std::optional<double> origin_;
    std::map<HidHandle, std::string> paths_;  // of the open handles, to name them
};

}  // namespace varnok
