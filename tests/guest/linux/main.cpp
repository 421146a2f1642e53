// varnok-uhid-keyboard: the keyboard as a uhid device, for the tests in the virtual machine.
// Runs until SIGTERM or SIGINT, then removes the device.
#include <signal.h>
#include <sys/signalfd.h>

#include <charconv>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <thread>

#include "device/SystemClock.h"
#include "guest/linux/UhidDescriptors.h"
#include "guest/linux/UhidKeyboard.h"

namespace {

constexpr const char* kUsage =
    "usage: varnok-uhid-keyboard --table FILE --log FILE [options]\n"
    "  --table FILE          the key table, kept as the simulated keyboard keeps it\n"
    "  --log FILE            every request with the monotonic time in seconds\n"
    "  --descriptor NAME     keyboard (default), no-configuration, three-collections\n"
    "  --uniq TEXT           the device's unique name (HID_UNIQ)\n"
    "  --product HEX         the product id (default 5601)\n"
    "  --create-after MS     create the device this much later\n"
    "  --error-at N          answer request N with an error\n"
    "  --silent-at N         leave request N unanswered\n"
    "  --remove-at N         remove the device at request N\n"
    "  --replug-after MS     after a removal, create the device again this much later\n"
    "  --reply-delay MS      answer every request this much late\n"
    "  --presses FIFO        play the definition of each key slot written into FIFO\n";

template <typename Number>
bool Parse(const char* text, Number& value, int base = 10) {
    const char* end = text + std::strlen(text);
    const auto [rest, problem] = std::from_chars(text, end, value, base);
    return problem == std::errc{} && rest == end;
}

int Fail(const std::string& message) {
    std::cerr << "varnok-uhid-keyboard: " << message << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using varnok::guest::UhidKeyboard;
    UhidKeyboard::Options options;
    options.descriptor = *varnok::guest::UhidDescriptor("keyboard");
    std::string tablePath;
    std::string logPath;
    int createAfterMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Fail("missing value after " + option + "\n" + kUsage);
        const char* value = argv[++i];
        bool good = true;
        if (option == "--table") {
            tablePath = value;
        } else if (option == "--log") {
            logPath = value;
        } else if (option == "--descriptor") {
            const auto descriptor = varnok::guest::UhidDescriptor(value);
            good = descriptor.has_value();
            if (good) options.descriptor = *descriptor;
        } else if (option == "--uniq") {
            options.uniq = value;
        } else if (option == "--product") {
            good = Parse(value, options.productId, 16);
        } else if (option == "--create-after") {
            good = Parse(value, createAfterMs);
        } else if (option == "--error-at") {
            good = Parse(value, options.errorAt);
        } else if (option == "--silent-at") {
            good = Parse(value, options.silentAt);
        } else if (option == "--remove-at") {
            good = Parse(value, options.removeAt);
        } else if (option == "--replug-after") {
            good = Parse(value, options.replugAfterMs);
        } else if (option == "--presses") {
            options.presses = value;
        } else if (option == "--reply-delay") {
            good = Parse(value, options.replyDelayMs);
        } else {
            return Fail("unknown option " + option + "\n" + kUsage);
        }
        if (!good) return Fail("not a valid value for " + option + ": " + value);
    }
    if (tablePath.empty() || logPath.empty()) return Fail(std::string("missing option\n") + kUsage);

    std::ofstream log(logPath, std::ios::app);
    if (!log) return Fail(logPath + ": cannot be written");
    varnok::SystemClock clock;
    std::string error;
    const auto model = varnok::SimulatedKeyboard::FromFile(tablePath, clock, error);
    if (!model) return Fail(error);

    // SIGTERM and SIGINT arrive as a readable descriptor, so that the device is removed
    // cleanly between two requests.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) return Fail(std::string("signalfd: ") + std::strerror(errno));

    std::this_thread::sleep_for(std::chrono::milliseconds(createAfterMs));
    UhidKeyboard keyboard(*model, options, log);
    if (!keyboard.Create(error) || !keyboard.Serve(stopFd, error)) return Fail(error);
    return 0;
}
