#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "device/SimulatedKeyboard.h"

struct uhid_event;
struct uhid_set_report_req;
struct uhid_get_report_req;

namespace varnok::guest {

// The keyboard made real for the kernel: a HID device created through /dev/uhid whose feature
// reports are answered by the simulated keyboard's model, so that the kernel's HID core, hidraw
// and udev serve Varnok as they serve the hardware while the protocol stays written once.
//
// Every request is logged with the machine's monotonic time, so that pacing is measured on the
// device's side. Faults are injected by the number of the request, set and get counted
// together from 1 (0 = never).
class UhidKeyboard {
public:
    struct Options {
        std::vector<std::uint8_t> descriptor;
        std::string name = "Varnok test keyboard";
        // Tells two keyboards apart in sysfs (HID_UNIQ).
        std::string uniq;
        std::uint16_t vendorId = SimulatedKeyboard::kVendorId;
        std::uint16_t productId = SimulatedKeyboard::kProductId;
        std::size_t errorAt = 0;   // answered with EIO
        std::size_t silentAt = 0;  // never answered: the kernel gives up after its timeout
        std::size_t removeAt = 0;  // the device is destroyed instead of answering
        int replugAfterMs = -1;    // after a removal, created again this much later; -1: never
        int replyDelayMs = 0;      // every answer this much late
        // A named pipe: each line written into it names a key slot whose definition the
        // keyboard then plays through its input reports, as the hardware does when the key
        // is pressed. Empty: no key is ever pressed.
        std::string presses;
    };

    // The model and the log outlive the keyboard.
    UhidKeyboard(SimulatedKeyboard& model, Options options, std::ostream& log);
    ~UhidKeyboard();
    UhidKeyboard(const UhidKeyboard&) = delete;
    UhidKeyboard& operator=(const UhidKeyboard&) = delete;

    // Opens /dev/uhid and creates the device; false and the reason in error.
    bool Create(std::string& error);
    // Answers the kernel until stopFd becomes readable (true), or until the device is removed
    // for good (true) or /dev/uhid fails (false and the reason in error).
    bool Serve(int stopFd, std::string& error);

private:
    bool Write(const uhid_event& event, std::string& error);
    bool SendCreate(std::string& error);
    bool Remove(std::string& error);
    bool Answer(const uhid_event& request, std::string& error);
    bool AnswerSet(const uhid_set_report_req& set, std::string& error);
    bool AnswerGet(const uhid_get_report_req& get, std::string& error);
    // Plays the key table's definition for each slot named in what the pipe holds.
    bool TakePresses(std::string& error);
    bool Press(std::uint8_t slot, std::string& error);
    bool Input(std::vector<std::uint8_t> report, std::string& error);
    // What to do with the request of this number, as the options say.
    enum class Fault { None, Error, Silent, Remove };
    Fault FaultAt(std::size_t number) const;
    void Log(const std::string& line);
    void ForgetSession();

    SimulatedKeyboard& model_;
    Options options_;
    std::ostream& log_;
    int fd_ = -1;
    bool created_ = false;
    HidHandle handle_ = kNoHidHandle;
    std::size_t requests_ = 0;
    int pressesFd_ = -1;
    std::string pressed_;  // what the pipe gave after its last full line
};

}  // namespace varnok::guest
