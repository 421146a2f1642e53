#include "guest/linux/UhidKeyboard.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "device/HexBytes.h"

namespace varnok::guest {
namespace {

constexpr std::uint16_t kBusUsb = 0x03;

std::string Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%06ld", static_cast<long long>(now.tv_sec),
                  now.tv_nsec / 1000);
    return text;
}

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

template <std::size_t N>
void CopyText(std::uint8_t (&target)[N], const std::string& text) {
    std::memcpy(target, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

UhidKeyboard::UhidKeyboard(SimulatedKeyboard& model, Options options, std::ostream& log)
    : model_(model), options_(std::move(options)), log_(log) {}

UhidKeyboard::~UhidKeyboard() {
    if (fd_ >= 0) {
        std::string ignored;
        if (created_) Remove(ignored);
        close(fd_);
    }
    if (pressesFd_ >= 0) close(pressesFd_);
}

void UhidKeyboard::Log(const std::string& line) {
    log_ << Now() << ' ' << line << '\n';
    log_.flush();
}

bool UhidKeyboard::Write(const uhid_event& event, std::string& error) {
    if (write(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        error = SystemError("/dev/uhid refused an event");
        return false;
    }
    return true;
}

bool UhidKeyboard::Create(std::string& error) {
    if (options_.descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "the report descriptor is longer than the kernel takes";
        return false;
    }
    fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        error = SystemError("/dev/uhid");
        return false;
    }
    if (!options_.presses.empty()) {
        // Read and write, so that the pipe keeps a writer and never reads as ended.
        if (mkfifo(options_.presses.c_str(), 0600) < 0 && errno != EEXIST) {
            error = SystemError(options_.presses.c_str());
            return false;
        }
        pressesFd_ = open(options_.presses.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (pressesFd_ < 0) {
            error = SystemError(options_.presses.c_str());
            return false;
        }
    }
    return SendCreate(error);
}

bool UhidKeyboard::SendCreate(std::string& error) {
    uhid_event event{};
    event.type = UHID_CREATE2;
    auto& create = event.u.create2;
    CopyText(create.name, options_.name);
    CopyText(create.phys, "varnok-guest/input0");
    CopyText(create.uniq, options_.uniq);
    create.rd_size = static_cast<std::uint16_t>(options_.descriptor.size());
    create.bus = kBusUsb;
    create.vendor = options_.vendorId;
    create.product = options_.productId;
    create.version = 0x0100;
    std::copy(options_.descriptor.begin(), options_.descriptor.end(), create.rd_data);
    if (!Write(event, error)) return false;
    created_ = true;
    model_.Plug();
    handle_ = model_.Open(SimulatedKeyboard::kPath);
    Log("created " + options_.name);
    return true;
}

bool UhidKeyboard::Remove(std::string& error) {
    uhid_event event{};
    event.type = UHID_DESTROY;
    created_ = false;
    model_.Unplug();
    handle_ = kNoHidHandle;
    Log("removed");
    return Write(event, error);
}

void UhidKeyboard::ForgetSession() {
    // Varnok closes the keyboard after a report fails; the model drops a record cut off there,
    // as the simulated keyboard does when the host lets go of it.
    model_.Close(handle_);
    handle_ = model_.Open(SimulatedKeyboard::kPath);
}

UhidKeyboard::Fault UhidKeyboard::FaultAt(std::size_t number) const {
    if (number == options_.removeAt) return Fault::Remove;
    if (number == options_.silentAt) return Fault::Silent;
    if (number == options_.errorAt) return Fault::Error;
    return Fault::None;
}

bool UhidKeyboard::Serve(int stopFd, std::string& error) {
    while (true) {
        pollfd fds[3] = {{fd_, POLLIN, 0}, {stopFd, POLLIN, 0}, {pressesFd_, POLLIN, 0}};
        if (poll(fds, pressesFd_ < 0 ? 2 : 3, -1) < 0) {
            if (errno == EINTR) continue;
            error = SystemError("poll");
            return false;
        }
        if (fds[1].revents != 0) return !created_ || Remove(error);
        if (pressesFd_ >= 0 && fds[2].revents != 0 && !TakePresses(error)) return false;
        if (fds[0].revents == 0) continue;
        uhid_event event{};
        const ssize_t size = read(fd_, &event, sizeof event);
        if (size < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            error = SystemError("/dev/uhid");
            return false;
        }
        if (!Answer(event, error)) return false;
        if (!created_) {
            if (options_.replugAfterMs < 0) return true;
            Sleep(options_.replugAfterMs);
            if (!SendCreate(error)) return false;
        }
    }
}

bool UhidKeyboard::TakePresses(std::string& error) {
    char buffer[256];
    const ssize_t size = read(pressesFd_, buffer, sizeof buffer);
    if (size <= 0) return true;
    pressed_.append(buffer, static_cast<std::size_t>(size));
    for (std::size_t end; (end = pressed_.find('\n')) != std::string::npos;) {
        const std::string line = pressed_.substr(0, end);
        pressed_.erase(0, end + 1);
        unsigned slot = 0;
        const auto [rest, problem] = std::from_chars(line.data(), line.data() + line.size(), slot);
        if (problem != std::errc{} || rest != line.data() + line.size() || slot > 6) {
            Log("press " + line + " ignored: not a key slot");
            continue;
        }
        if (!Press(static_cast<std::uint8_t>(slot), error)) return false;
    }
    return true;
}

// The keyboard's reports, as its descriptor declares them: typing under report id 1
// (modifiers, a reserved byte, six keys), the mouse under report id 3 (buttons, X, Y).
bool UhidKeyboard::Press(std::uint8_t slot, std::string& error) {
    constexpr std::uint8_t kOnceFlag = 0x40;
    constexpr std::uint8_t kShiftedMarker = 0xAB;
    constexpr std::uint8_t kLeftShift = 0x02;
    const std::vector<std::uint8_t> record(model_.Table().Record(slot).begin(),
                                           model_.Table().Record(slot).end());
    Log("press " + std::to_string(slot) + ": " + FormatHexBytes(record));
    const std::vector<std::uint8_t> keysUp = {0x01, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> buttonsUp = {0x03, 0, 0, 0};
    if (record.size() == 11 && record[1] == 0x08 && record[2] == 0x01) {
        // A chord: every key down in one report, then all released.
        std::vector<std::uint8_t> down = keysUp;
        down[1] = record[3] & ~kOnceFlag;
        std::copy(record.begin() + 5, record.begin() + 10, down.begin() + 3);
        return Input(down, error) && Input(keysUp, error);
    }
    if (record.size() == 11 && record[1] == 0x08 && record[2] == 0x04) {
        // A click: the button down and up; a double click twice.
        const std::uint8_t code = record[3] & ~kOnceFlag;
        const std::uint8_t button = code == 0x82 ? 0x02 : 0x01;
        for (int click = 0; click < (code == 0x80 ? 2 : 1); ++click) {
            if (!Input({0x03, button, 0, 0}, error) || !Input(buttonsUp, error)) return false;
        }
        return true;
    }
    if (record.size() >= 4 && record[2] == 0x08 && record.size() == record[1] + 4u) {
        // A string: each character's key down (with Shift when its marker says) and up.
        for (std::size_t i = 3; i + 1 < record.size() - 1; i += 2) {
            const std::uint8_t shift = record[i] == kShiftedMarker ? kLeftShift : 0;
            if (!Input({0x01, shift, 0, record[i + 1], 0, 0, 0, 0, 0}, error) ||
                !Input(keysUp, error)) {
                return false;
            }
        }
    }
    return true;
}

bool UhidKeyboard::Input(std::vector<std::uint8_t> report, std::string& error) {
    // About the pace of a full-speed keyboard's interrupt reports.
    constexpr int kReportIntervalMs = 8;
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = static_cast<std::uint16_t>(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    Log("input " + FormatHexBytes(report));
    if (!Write(event, error)) return false;
    Sleep(kReportIntervalMs);
    return true;
}

bool UhidKeyboard::Answer(const uhid_event& request, std::string& error) {
    switch (request.type) {
        case UHID_SET_REPORT:
            return AnswerSet(request.u.set_report, error);
        case UHID_GET_REPORT:
            return AnswerGet(request.u.get_report, error);
        case UHID_START:
        case UHID_STOP:
        case UHID_OPEN:
        case UHID_CLOSE:
            // The kernel starts the device and opens it for its users (hidraw, the input
            // layer); the model has no part in it.
            Log(request.type == UHID_START  ? "start"
                : request.type == UHID_STOP ? "stop"
                : request.type == UHID_OPEN ? "open"
                                            : "close");
            return true;
        default:
            return true;
    }
}

bool UhidKeyboard::AnswerSet(const uhid_set_report_req& set, std::string& error) {
    const std::size_t length = std::min<std::size_t>(set.size, UHID_DATA_MAX);
    const std::string line = "set " + FormatHexBytes(std::span(set.data, length)) +
                             (model_.ReceivingRecord() ? " next" : " first");
    const Fault fault = FaultAt(++requests_);
    if (fault == Fault::Remove) {
        Log(line + " removed");
        return Remove(error);
    }
    if (fault == Fault::Silent) {
        Log(line + " unanswered");
        ForgetSession();
        return true;
    }
    bool accepted = false;
    if (fault == Fault::None && set.rtype == UHID_FEATURE_REPORT && length == kFeatureReportSize) {
        FeatureReport report;
        std::copy_n(set.data, report.size(), report.begin());
        accepted = model_.SetFeature(handle_, report);
    }
    if (!accepted) ForgetSession();
    Log(line + (fault == Fault::Error ? " error" : accepted ? "" : " refused"));
    Sleep(options_.replyDelayMs);
    uhid_event reply{};
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = set.id;
    reply.u.set_report_reply.err = accepted ? 0 : EIO;
    return Write(reply, error);
}

bool UhidKeyboard::AnswerGet(const uhid_get_report_req& get, std::string& error) {
    const Fault fault = FaultAt(++requests_);
    FeatureReport report{};
    report[0] = get.rnum;
    if (fault == Fault::Remove) {
        Log("get " + FormatHexBytes(report) + " removed");
        return Remove(error);
    }
    if (fault == Fault::Silent) {
        Log("get " + FormatHexBytes(report) + " unanswered");
        ForgetSession();
        return true;
    }
    const bool accepted = fault == Fault::None && get.rtype == UHID_FEATURE_REPORT &&
                          model_.GetFeature(handle_, report);
    Log("get " + FormatHexBytes(report) +
        (fault == Fault::Error ? " error"
         : accepted            ? ""
                               : " refused"));
    Sleep(options_.replyDelayMs);
    uhid_event reply{};
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = get.id;
    reply.u.get_report_reply.err = accepted ? 0 : EIO;
    reply.u.get_report_reply.size = accepted ? report.size() : 0;
    std::copy(report.begin(), report.end(), reply.u.get_report_reply.data);
    return Write(reply, error);
}

}  // namespace varnok::guest
