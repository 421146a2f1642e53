#include "device/win/RawInputKeyboardInput.h"

#include <algorithm>
#include <cctype>

#include "device/AcceptedDeviceTable.h"
#include "device/KeyboardLink.h"
#include "device/win/SetupApiHidPlatform.h"
#include "store/win/WideText.h"

namespace varnok {
namespace {

constexpr wchar_t kWindowClass[] = L"VarnokKeyboardInput";
// The keyboard's driver hands Raw Input the codes of one report together; input that follows
// within this time still belongs to the same report.
constexpr DWORD kSettleMilliseconds = 5;

// A device path without its "\\?\" and its interface class: a HID collection's path and the
// path under which Raw Input names the keyboard or mouse made of it differ only in the class
// ("\\?\HID#VID_0426&PID_5601&Col01#7&1a2b&0&0000#{884b96c3-...}").
std::string Instance(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (path.starts_with("\\\\?\\") || path.starts_with("\\??\\")) path.erase(0, 4);
    const std::size_t last = path.rfind('#');
    if (last != std::string::npos && path.compare(last, 2, "#{") == 0) path.erase(last);
    return path;
}

std::string RawDeviceName(HANDLE device) {
    UINT length = 0;
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &length) != 0 || length == 0) {
        return {};
    }
    std::wstring name(length, L'\0');
    const UINT copied = GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, name.data(), &length);
    if (copied == static_cast<UINT>(-1) || copied > name.size()) return {};
    name.resize(wcsnlen(name.c_str(), copied));
    return Utf8FromWide(name);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<RawInputKeyboardInput> RawInputKeyboardInput::Open(std::string& error) {
    std::unique_ptr<RawInputKeyboardInput> input(new RawInputKeyboardInput());
    SetupApiHidPlatform hid;
    const auto interfaces = hid.EnumerateInterfaces();
    if (!interfaces) {
        error = "the HID devices cannot be listed: " + DescribeHidError(hid.LastError());
        return nullptr;
    }
    bool configuration = false;
    for (const HidInterface& hidInterface : *interfaces) {
        const HidHandle handle = hid.Open(hidInterface.path);
        if (handle == kNoHidHandle) continue;
        std::uint16_t vendorId = 0, productId = 0;
        std::vector<HidCollection> collections;
        if (hid.GetAttributes(handle, vendorId, productId) &&
            IsAcceptedDevice(vendorId, productId)) {
            input->instances_.insert(Instance(hidInterface.path));
            configuration = configuration || (hid.GetCollections(handle, collections) &&
                                              KeyboardLink::FindQualifyingCollection(collections));
        }
        hid.Close(handle);
    }
    if (!configuration) {
        error = "no keyboard found";
        return nullptr;
    }
    // Wine folds every keyboard into one Raw Input device, named after the first it found, and
    // gives it only its display's keys: there the keyboard's own keys cannot be told apart.
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
        error =
            "under Wine the keyboard's keys cannot be told from another keyboard's: Wine gives "
            "Raw Input every keyboard's keys as those of one device";
        return nullptr;
    }

    // The keyboard must be among Raw Input's keyboards and mice, or nothing would ever come.
    UINT count = 0;
    std::vector<RAWINPUTDEVICELIST> devices;
    if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) == 0) {
        devices.resize(count);
        const UINT listed =
            GetRawInputDeviceList(devices.data(), &count, sizeof(RAWINPUTDEVICELIST));
        devices.resize(listed == static_cast<UINT>(-1) ? 0 : listed);
    }
    const bool listed = std::any_of(devices.begin(), devices.end(), [&](const auto& device) {
        return device.dwType != RIM_TYPEHID && input->OwnDevice(device.hDevice);
    });
    if (!listed) {
        error = "Windows gives Raw Input no keyboard or mouse of the keyboard's own device";
        return nullptr;
    }
    input->notices_.push_back(
        "keys will also act on the desktop: on Windows no program can keep one keyboard's keys "
        "from the desktop without a driver of its own");
    return input;
}

bool RawInputKeyboardInput::Listen(std::string& error) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        error = "Raw Input has no window: " + SystemErrorText(GetLastError());
        return false;
    }
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module,
                              nullptr);
    if (window_ == nullptr) {
        error = "Raw Input has no window: " + SystemErrorText(GetLastError());
        return false;
    }
    // Keyboards and mice (Generic Desktop 6 and 2), also while other windows have the focus,
    // and word when one goes away.
    const RAWINPUTDEVICE wanted[] = {
        {0x01, 0x06, RIDEV_INPUTSINK | RIDEV_DEVNOTIFY, window_},
        {0x01, 0x02, RIDEV_INPUTSINK | RIDEV_DEVNOTIFY, window_},
    };
    if (!RegisterRawInputDevices(wanted, 2, sizeof wanted[0])) {
        error = "Raw Input refuses the keyboard's input: " + SystemErrorText(GetLastError());
        return false;
    }
    return true;
}

RawInputKeyboardInput::~RawInputKeyboardInput() {
    if (window_ == nullptr) return;
    const RAWINPUTDEVICE removed[] = {
        {0x01, 0x06, RIDEV_REMOVE, nullptr},
        {0x01, 0x02, RIDEV_REMOVE, nullptr},
    };
    RegisterRawInputDevices(removed, 2, sizeof removed[0]);
    // Fails harmlessly where the window already went with the thread that waited.
    DestroyWindow(window_);
}

bool RawInputKeyboardInput::OwnDevice(HANDLE device) {
    // Input that a program made up (SendInput) comes from no device.
    if (device == nullptr) return false;
    const auto known = devices_.find(device);
    if (known != devices_.end()) return known->second;
    const bool own = instances_.contains(Instance(RawDeviceName(device)));
    devices_[device] = own;
    return own;
}

bool RawInputKeyboardInput::Drain(std::vector<RawInputReports::RawEvent>& batch,
                                  std::string& error) {
    // Every message of the thread, so that none left waiting keeps the wait below awake.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_INPUT && message.hwnd == window_) {
            RAWINPUT raw{};
            UINT size = sizeof raw;
            const UINT copied = GetRawInputData(reinterpret_cast<HRAWINPUT>(message.lParam),
                                                RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
            if (copied != static_cast<UINT>(-1) && OwnDevice(raw.header.hDevice)) {
                if (raw.header.dwType == RIM_TYPEKEYBOARD) batch.emplace_back(raw.data.keyboard);
                if (raw.header.dwType == RIM_TYPEMOUSE) batch.emplace_back(raw.data.mouse);
            }
        } else if (message.message == WM_INPUT_DEVICE_CHANGE && message.wParam == GIDC_REMOVAL) {
            const auto known = devices_.find(reinterpret_cast<HANDLE>(message.lParam));
            if (known != devices_.end() && known->second) {
                error = "the keyboard went away";
                return false;
            }
        }
        // Windows cleans up after WM_INPUT in the default window procedure.
        DispatchMessageW(&message);
    }
    return true;
}

KeyboardInput::Wait RawInputKeyboardInput::Next(int timeoutMilliseconds, std::size_t& interface,
                                                std::vector<std::uint8_t>& report,
                                                std::string& error) {
    if (window_ == nullptr && !Listen(error)) return Wait::Failed;
    const ULONGLONG deadline =
        GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMilliseconds, 0));
    while (ready_.empty()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return Wait::Timeout;
        const DWORD woke = MsgWaitForMultipleObjectsEx(
            0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_FAILED) {
            error = SystemErrorText(GetLastError());
            return Wait::Failed;
        }
        std::vector<RawInputReports::RawEvent> batch;
        if (!Drain(batch, error)) return Wait::Failed;
        while (!batch.empty() &&
               MsgWaitForMultipleObjectsEx(0, nullptr, kSettleMilliseconds, QS_ALLINPUT,
                                           MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
            if (!Drain(batch, error)) return Wait::Failed;
        }
        for (RawInputReports::Report& made : reports_.Take(batch))
            ready_.push_back(std::move(made));
    }
    interface = ready_.front().interface;
    report = std::move(ready_.front().bytes);
    ready_.pop_front();
    return Wait::Report;
}

}  // namespace varnok
