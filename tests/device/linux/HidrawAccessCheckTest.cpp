#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "device/linux/FakeHidrawSystem.h"
#include "device/linux/HidrawAccessAdvice.h"
#include "device/linux/HidrawAccessCheck.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

// What the kernel writes into a USB HID device's uevent file.
std::string Uevent(const std::string& hidId) {
    return "DRIVER=hid-generic\nHID_ID=" + hidId +
           "\nHID_NAME=Programmable Keypad\nHID_PHYS=usb-0000:00:14.0-2/input1\n"
           "HID_UNIQ=\nMODALIAS=hid:b0003g0001v00000426p00003201\n";
}

// One node in the fake sysfs tree, and how its /dev node answers an open.
struct Node {
    const char* name;
    std::string uevent;
    std::optional<int> openError;  // nullopt: no node under /dev
};

// A fake sysfs class directory and /dev, with the nodes given.
struct Tree {
    explicit Tree(const std::vector<Node>& nodes) {
        for (const Node& node : nodes) {
            AddSysfsNode(classDirectory, node.name, node.uevent);
            if (!node.openError) continue;
            FakeHidrawDevice device;
            device.openError = *node.openError;
            system.AddNode("/fake/dev/" + std::string(node.name), device);
        }
    }
    TempDirectory root;
    std::filesystem::path classDirectory = root.Path() / "class" / "hidraw";
    FakeHidrawSystem system;
    HidrawAccessCheck check{system, classDirectory, "/fake/dev"};
};

TEST(HidrawAccessCheck, FindsTheKeyboardsThatRefuseTheUser) {
    const std::string keyboard = "0003:00000426:00003201";
    const struct {
        const char* label;
        std::vector<Node> nodes;
        std::vector<std::string> refused;
        std::vector<std::string> opened;  // nodes the check tried to open
    } cases[] = {
        {"keyboard, access denied",
         {{"hidraw3", Uevent(keyboard), EACCES}},
         {"/fake/dev/hidraw3"},
         {"/fake/dev/hidraw3"}},
        {"keyboard, not permitted",
         {{"hidraw3", Uevent(keyboard), EPERM}},
         {"/fake/dev/hidraw3"},
         {"/fake/dev/hidraw3"}},
        {"keyboard that opens", {{"hidraw3", Uevent(keyboard), 0}}, {}, {"/fake/dev/hidraw3"}},
        {"keyboard without its node",
         {{"hidraw3", Uevent(keyboard), std::nullopt}},
         {},
         {"/fake/dev/hidraw3"}},
        {"keyboard failing otherwise",
         {{"hidraw3", Uevent(keyboard), EIO}},
         {},
         {"/fake/dev/hidraw3"}},
        {"another device refusing",
         {{"hidraw0", Uevent("0003:0000046D:0000C52B"), EACCES}},
         {},
         {}},
        {"accepted vendor, product not",
         {{"hidraw0", Uevent("0003:0000046F:00003201"), EACCES}},
         {},
         {}},
        {"any product of 0426, on Bluetooth",
         {{"hidraw0", Uevent("0005:00000426:0000ABCD"), EACCES}},
         {"/fake/dev/hidraw0"},
         {"/fake/dev/hidraw0"}},
        {"vendor wider than 16 bits",
         {{"hidraw0", Uevent("0003:00010426:00003201"), EACCES}},
         {},
         {}},
        {"HID_ID cut short", {{"hidraw0", "HID_ID=0003:00000426\n", EACCES}}, {}, {}},
        {"HID_ID not hex", {{"hidraw0", "HID_ID=0003:0000042G:00003201\n", EACCES}}, {}, {}},
        {"no uevent contents", {{"hidraw0", "", EACCES}}, {}, {}},
        {"two keyboards in node order",
         {{"hidraw10", Uevent(keyboard), EACCES},
          {"hidraw2", Uevent("0003:000003F9:00003201"), EACCES},
          {"hidraw1", Uevent("0003:0000046D:0000C52B"), 0}},
         {"/fake/dev/hidraw2", "/fake/dev/hidraw10"},
         {"/fake/dev/hidraw2", "/fake/dev/hidraw10"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Tree tree(c.nodes);
        std::vector<std::string> refused;
        for (const RefusedKeyboard& keyboard : tree.check.RefusedKeyboards()) {
            refused.push_back(keyboard.node);
        }
        EXPECT_EQ(refused, c.refused);
        std::vector<std::string> opened;
        for (const auto& [path, flags] : tree.system.opens) {
            opened.push_back(path);
            EXPECT_EQ(flags, O_RDWR | O_CLOEXEC);  // read-only access would not do for a save
        }
        EXPECT_EQ(opened, c.opened);
        // What opened is closed again at once.
        std::size_t openable = 0;
        for (const Node& node : c.nodes) {
            const std::string path = "/fake/dev/" + std::string(node.name);
            if (node.openError == 0 && std::count(opened.begin(), opened.end(), path) != 0) {
                ++openable;
            }
        }
        EXPECT_EQ(tree.system.closes.size(), openable);
    }
}

TEST(HidrawAccessCheck, NoHidrawClassAtAll) {
    FakeHidrawSystem system;
    HidrawAccessCheck check(system, "/nonexistent/class/hidraw", "/fake/dev");
    EXPECT_TRUE(check.RefusedKeyboards().empty());
}

TEST(HidrawAccessAdvice, NamesTheNodeAndTheFixInTheWindowsLanguage) {
    Tree tree({{"hidraw3", Uevent("0003:00000426:00003201"), EACCES}});
    HidrawAccessAdvice advice(tree.check);
    const struct {
        std::int32_t language;
        std::vector<std::string> said;
    } cases[] = {
        {0,
         {"The keyboard is at /fake/dev/hidraw3, but this user may not open it.", "70-varnok.rules",
          "/etc/udev/rules.d/", "unplug the keyboard and plug it in again"}},
        {1,
         {"键盘位于 /fake/dev/hidraw3，但当前用户无权打开它。", "70-varnok.rules",
          "拔下键盘再重新插入"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        std::ostringstream log;
        const std::string detail = advice.Advise(c.language, log);
        for (const std::string& part : c.said) {
            EXPECT_NE(detail.find(part), std::string::npos) << detail;
        }
        EXPECT_EQ(log.str(),
                  "varnok: the keyboard (0426:3201) is at /fake/dev/hidraw3, but this user may not "
                  "open it (Permission denied): install the udev rule 70-varnok.rules and replug "
                  "the keyboard\n");
    }
}

TEST(HidrawAccessAdvice, SaysNothingWhenNoKeyboardRefuses) {
    const std::vector<Node> trees[] = {
        {},
        {{"hidraw3", Uevent("0003:00000426:00003201"), std::nullopt}},
        {{"hidraw3", Uevent("0003:00000426:00003201"), 0}},
    };
    for (const auto& nodes : trees) {
        Tree tree(nodes);
        std::ostringstream log;
        EXPECT_EQ(HidrawAccessAdvice(tree.check).Advise(0, log), "");
        EXPECT_EQ(log.str(), "");
    }
}

}  // namespace
}  // namespace varnok
