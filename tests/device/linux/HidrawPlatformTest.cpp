#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/KeyboardLink.h"
#include "device/ReportDescriptors.h"
#include "device/linux/FakeHidrawSystem.h"
#include "device/linux/HidrawPlatform.h"
#include "device/linux/PosixHidrawSystem.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

constexpr char kNode[] = "/fake/dev/hidraw3";

FakeHidrawDevice ProgrammableKeyboard() {
    FakeHidrawDevice device;
    device.descriptor.assign(std::begin(descriptors::kProgrammableKeyboard),
                             std::end(descriptors::kProgrammableKeyboard));
    return device;
}

// A platform over one fake node, opened.
struct Fixture {
    explicit Fixture(FakeHidrawDevice device) {
        system.AddNode(kNode, std::move(device));
        handle = platform.Open(kNode);
    }
    FakeHidrawSystem system;
    HidrawPlatform platform{system, "/fake/sys/class/hidraw", "/fake/dev"};
    HidHandle handle = kNoHidHandle;
};

std::vector<unsigned long> Requests(const FakeHidrawSystem& system) {
    std::vector<unsigned long> requests;
    for (const auto& call : system.ioctls) requests.push_back(call.request);
    return requests;
}

TEST(HidrawPlatform, EnumeratesHidrawNodesInNumericOrder) {
    TempDirectory tree;
    const fs::path classDirectory = tree.Path() / "class";
    const fs::path devices = tree.Path() / "devices";
    fs::create_directories(classDirectory);
    fs::create_directories(devices);
    // sysfs lists each node as a link to its device; a plain directory must do as well.
    for (const char* node : {"hidraw10", "hidraw2", "hidraw0"}) {
        fs::create_directory(devices / node);
        fs::create_directory_symlink(devices / node, classDirectory / node);
    }
    fs::create_directory(classDirectory / "hidraw1");
    for (const char* stray : {"hidraw", "hidrawx", "hidraw4a", "hidraw-5", "hidraw+6", "uevent",
                              "hidraw99999999999999999999", "xhidraw7"}) {
        std::ofstream(classDirectory / stray) << "";
    }

    FakeHidrawSystem system;
    HidrawPlatform platform(system, classDirectory, "/dev");
    const auto interfaces = platform.EnumerateInterfaces();
    ASSERT_TRUE(interfaces.has_value());
    std::vector<std::string> paths;
    for (const HidInterface& interface : *interfaces) paths.push_back(interface.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw1", "/dev/hidraw2",
                                               "/dev/hidraw10"}));
    EXPECT_TRUE(system.opens.empty());
}

TEST(HidrawPlatform, MissingOrEmptyClassDirectory) {
    TempDirectory tree;
    fs::create_directory(tree.Path() / "empty");
    std::ofstream(tree.Path() / "file") << "hidraw0";
    const struct {
        const char* name;
        bool listed;
    } cases[] = {
        {"missing", false},  // the hidraw module is not loaded
        {"file", false},
        {"empty", true},  // the module is loaded, no HID device attached
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHidrawSystem system;
        HidrawPlatform platform(system, tree.Path() / c.name, "/dev");
        const auto interfaces = platform.EnumerateInterfaces();
        EXPECT_EQ(interfaces.has_value(), c.listed);
        if (interfaces) {
            EXPECT_TRUE(interfaces->empty());
        }
    }
}

TEST(HidrawPlatform, OpensReadWriteAndClosesWhatItOpened) {
    Fixture f(ProgrammableKeyboard());
    ASSERT_NE(f.handle, kNoHidHandle);
    EXPECT_EQ(f.platform.Open("/fake/dev/hidraw9"), kNoHidHandle);
    ASSERT_EQ(f.system.opens.size(), 2u);
    EXPECT_EQ(f.system.opens[0].first, kNode);
    EXPECT_EQ(f.system.opens[0].second, O_RDWR | O_CLOEXEC);

    f.platform.Close(kNoHidHandle);
    EXPECT_TRUE(f.system.closes.empty());
    f.platform.Close(f.handle);
    EXPECT_EQ(f.system.closes, std::vector<int>{f.handle});
}

TEST(HidrawPlatform, ReadsTheUsbIds) {
    const struct {
        const char* name;
        std::uint16_t vendorId;
        std::uint16_t productId;
        bool refused;
    } cases[] = {
        {"keyboard", 0x0426, 0x3201, false},
        {"ids with the top bit set", 0x046F, 0xC52B, false},
        {"refused", 0x0426, 0x3201, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHidrawDevice device = ProgrammableKeyboard();
        device.vendorId = c.vendorId;
        device.productId = c.productId;
        if (c.refused) device.refusedRequests.insert(HIDIOCGRAWINFO);
        Fixture f(device);
        std::uint16_t vendorId = 0x1111;
        std::uint16_t productId = 0x2222;
        EXPECT_EQ(f.platform.GetAttributes(f.handle, vendorId, productId), !c.refused);
        EXPECT_EQ(vendorId, c.refused ? 0x1111 : c.vendorId);
        EXPECT_EQ(productId, c.refused ? 0x2222 : c.productId);
        EXPECT_EQ(Requests(f.system), std::vector<unsigned long>{HIDIOCGRAWINFO});
    }
}

TEST(HidrawPlatform, CollectionsFromTheDescriptor) {
    const std::vector<unsigned long> bothRequests{HIDIOCGRDESCSIZE, HIDIOCGRDESC};
    const std::vector<unsigned long> sizeOnly{HIDIOCGRDESCSIZE};
    const std::vector<HidCollection> keyboard{
        {0x0001, 0x0006, 0}, {0x000C, 0x0001, 0}, {0xFF00, 0x0001, 8}};
    const struct {
        const char* name;
        std::function<void(FakeHidrawDevice&)> change;
        bool ok;
        std::vector<HidCollection> collections;
        std::vector<unsigned long> requests;
    } cases[] = {
        {"keyboard with 8-byte feature reports", [](FakeHidrawDevice&) {}, true, keyboard,
         bothRequests},
        {"boot keyboard without feature reports",
         [](FakeHidrawDevice& d) {
             d.descriptor.assign(std::begin(descriptors::kBootKeyboard),
                                 std::end(descriptors::kBootKeyboard));
         },
         true,
         {{0x0001, 0x0006, 0}},
         bothRequests},
        {"size refused",
         [](FakeHidrawDevice& d) { d.refusedRequests.insert(HIDIOCGRDESCSIZE); },
         false,
         {},
         sizeOnly},
        {"descriptor refused",
         [](FakeHidrawDevice& d) { d.refusedRequests.insert(HIDIOCGRDESC); },
         false,
         {},
         bothRequests},
        {"negative size",
         [](FakeHidrawDevice& d) { d.claimedDescriptorSize = -1; },
         false,
         {},
         sizeOnly},
        {"size beyond the kernel's buffer",
         [](FakeHidrawDevice& d) { d.claimedDescriptorSize = HID_MAX_DESCRIPTOR_SIZE + 1; },
         false,
         {},
         sizeOnly},
        {"size the kernel will not copy",
         [](FakeHidrawDevice& d) { d.claimedDescriptorSize = HID_MAX_DESCRIPTOR_SIZE; },
         false,
         {},
         bothRequests},
        {"size that cuts the descriptor short",
         [](FakeHidrawDevice& d) {
             d.claimedDescriptorSize = static_cast<int>(d.descriptor.size()) - 1;
         },
         false,
         {},
         bothRequests},
        {"malformed descriptor",
         [](FakeHidrawDevice& d) { d.descriptor.back() = 0xB4; },
         false,
         {},
         bothRequests},
    };
    const std::vector<HidCollection> untouched{{0xBEEF, 0xBEEF, 0xBEEF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHidrawDevice device = ProgrammableKeyboard();
        c.change(device);
        Fixture f(device);
        std::vector<HidCollection> collections = untouched;
        EXPECT_EQ(f.platform.GetCollections(f.handle, collections), c.ok);
        EXPECT_EQ(collections, c.ok ? c.collections : untouched);
        EXPECT_EQ(Requests(f.system), c.requests);
        if (f.system.ioctls.size() == 2) {
            // The descriptor request asks for exactly the size the device reported.
            std::uint32_t asked = 0;
            std::memcpy(&asked, f.system.ioctls[1].argument.data(), sizeof asked);
            EXPECT_EQ(asked, static_cast<std::uint32_t>(
                                 device.claimedDescriptorSize.value_or(device.descriptor.size())));
        }
    }
}

// The whole search over a sysfs tree: a node is the keyboard when one of its top-level
// collections has 8-byte feature reports, whatever the other collections on it hold.
TEST(HidrawPlatform, DiscoveryTakesANodeThroughOneOfItsCollections) {
    using namespace descriptors;
    const std::vector<std::uint8_t> shared =
        Join({kConsumerCollection, kConfigurationCollection, kLongVendorCollection});
    const std::vector<std::uint8_t> withoutKeyboard =
        Join({kConsumerCollection, kLongVendorCollection});
    const struct {
        const char* name;
        std::vector<std::vector<std::uint8_t>> nodes;  // descriptors of hidraw0, hidraw1, ...
        std::optional<std::size_t> takenNode;
        std::size_t collection = 0;
    } cases[] = {
        {"three collections, the keyboard's in the middle", {shared}, 0, 1},
        {"the same without its long collection",
         {Join({kConsumerCollection, kConfigurationCollection})},
         0,
         1},
        {"no collection of 8 bytes", {withoutKeyboard}, std::nullopt},
        {"a node without it, then the keyboard's", {withoutKeyboard, shared}, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory tree;
        FakeHidrawSystem system;
        for (std::size_t i = 0; i < c.nodes.size(); ++i) {
            const std::string name = "hidraw" + std::to_string(i);
            fs::create_directory(tree.Path() / name);
            FakeHidrawDevice device;
            device.descriptor = c.nodes[i];
            system.AddNode("/fake/dev/" + name, device);
        }
        HidrawPlatform platform(system, tree.Path(), "/fake/dev");
        KeyboardLink link(platform);
        ASSERT_EQ(link.Open(), c.takenNode.has_value());
        if (!c.takenNode) {
            EXPECT_EQ(link.Collection(), std::nullopt);
            EXPECT_EQ(system.closes.size(), system.opens.size());
            continue;
        }
        EXPECT_EQ(system.opens.back().first, "/fake/dev/hidraw" + std::to_string(*c.takenNode));
        EXPECT_EQ(system.closes.size(), *c.takenNode);
        ASSERT_TRUE(link.Collection().has_value());
        EXPECT_EQ(link.Collection()->index, c.collection);
        EXPECT_EQ(link.Collection()->collection, (HidCollection{0xFF00, 0x0001, 8}));
    }
}

// sysfs tells every node's ids to anyone: a search opens no device that is not a candidate,
// whatever its descriptor says, and opens one whose ids sysfs does not tell.
TEST(HidrawPlatform, DiscoveryOpensOnlyNodesThatMayBeTheKeyboard) {
    const struct {
        const char* label;
        std::vector<std::pair<const char*, std::string>> uevents;  // hidraw0, hidraw1, ...
        std::vector<std::string> opened;
        std::string taken;
    } cases[] = {
        {"a mouse, then the keyboard",
         {{"hidraw0", "HID_ID=0003:0000046D:0000C52B\n"},
          {"hidraw1", "HID_ID=0003:00000426:00003201\n"}},
         {"/fake/dev/hidraw1"},
         "/fake/dev/hidraw1"},
        {"ids unknown, then another device",
         {{"hidraw0", ""}, {"hidraw1", "HID_ID=0003:0000046D:0000C52B\n"}},
         {"/fake/dev/hidraw0"},
         "/fake/dev/hidraw0"},
        {"only other devices",
         {{"hidraw0", "HID_ID=0003:0000046D:0000C52B\n"},
          {"hidraw1", "HID_ID=0003:0000046F:00003201\n"}},
         {},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory tree;
        FakeHidrawSystem system;
        for (const auto& [name, uevent] : c.uevents) {
            AddSysfsNode(tree.Path(), name, uevent);
            // Each node would qualify if it were opened.
            system.AddNode("/fake/dev/" + std::string(name), ProgrammableKeyboard());
        }
        HidrawPlatform platform(system, tree.Path(), "/fake/dev");
        KeyboardLink link(platform);
        EXPECT_EQ(link.Open(), !c.taken.empty());
        std::vector<std::string> opened;
        for (const auto& open : system.opens) opened.push_back(open.first);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(link.InterfacePath(), c.taken);
    }
}

TEST(HidrawPlatform, SendsAndFetchesEightByteFeatureReports) {
    const FeatureReport sent{0x06, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    const FeatureReport pageRequest{0x06, 0x03, 0, 0, 0, 0, 0, 0};
    const FeatureReport reply{0x06, 0x03, 0x08, 0x01, 0x01, 0x00, 0x06, 0x00};
    const struct {
        const char* name;
        int transferred;
        bool refused;
        bool ok;
    } cases[] = {
        {"whole report", 8, false, true},
        {"short transfer", 7, false, false},
        {"nothing transferred", 0, false, false},
        {"refused", 8, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHidrawDevice device = ProgrammableKeyboard();
        device.featureTransferLength = c.transferred;
        device.featureReply = reply;
        if (c.refused) {
            device.refusedRequests = {HIDIOCSFEATURE(8), HIDIOCGFEATURE(8)};
        }
        Fixture f(device);

        EXPECT_EQ(f.platform.SetFeature(f.handle, sent), c.ok);
        FeatureReport fetched = pageRequest;
        EXPECT_EQ(f.platform.GetFeature(f.handle, fetched), c.ok);
        // A failed fetch leaves the caller's buffer as it was.
        EXPECT_EQ(fetched, c.ok ? reply : pageRequest);

        ASSERT_EQ(f.system.ioctls.size(), 2u);
        EXPECT_EQ(f.system.ioctls[0].fd, f.handle);
        EXPECT_EQ(f.system.ioctls[0].request, HIDIOCSFEATURE(8));
        EXPECT_EQ(f.system.ioctls[0].argument, std::vector<std::uint8_t>(sent.begin(), sent.end()));
        EXPECT_EQ(f.system.ioctls[1].request, HIDIOCGFEATURE(8));
        EXPECT_EQ(f.system.ioctls[1].argument,
                  std::vector<std::uint8_t>(pageRequest.begin(), pageRequest.end()));
    }
}

TEST(HidrawPlatform, NoHandleMakesNoSystemCall) {
    FakeHidrawSystem system;
    HidrawPlatform platform(system, "/fake/sys/class/hidraw", "/fake/dev");
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::vector<HidCollection> collections;
    FeatureReport report{0x06};
    EXPECT_FALSE(platform.GetAttributes(kNoHidHandle, vendorId, productId));
    EXPECT_FALSE(platform.GetCollections(kNoHidHandle, collections));
    EXPECT_FALSE(platform.SetFeature(kNoHidHandle, report));
    EXPECT_FALSE(platform.GetFeature(kNoHidHandle, report));
    EXPECT_TRUE(system.ioctls.empty());
}

// The real system calls, on a plain file in a temporary directory: it opens, but it is no HID
// device, so every hidraw request fails.
class GuardedPosixSystem : public PosixHidrawSystem {
public:
    int Open(const std::string& path, int flags) override {
        return RefuseRealDeviceNode(path) ? -1 : PosixHidrawSystem::Open(path, flags);
    }
};

TEST(HidrawPlatform, RealSystemCallsOnAFileThatIsNoDevice) {
    TempDirectory tree;
    std::ofstream(tree.Path() / "hidraw0") << "not a device";
    GuardedPosixSystem system;
    HidrawPlatform platform(system, tree.Path(), tree.Path());

    // Each failure gives the system's reason, as the trace and the messages pass it on.
    const auto reason = [&] { return DescribeHidError(platform.LastError()); };
    const std::string notADevice = "Inappropriate ioctl for device (errno 25)";
    EXPECT_EQ(platform.Open((tree.Path() / "hidraw1").string()), kNoHidHandle);
    EXPECT_EQ(reason(), "No such file or directory (errno 2)");
    const HidHandle handle = platform.Open((tree.Path() / "hidraw0").string());
    ASSERT_NE(handle, kNoHidHandle);
    EXPECT_NE(fcntl(handle, F_GETFD) & FD_CLOEXEC, 0);
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::vector<HidCollection> collections;
    FeatureReport report{0x06};
    EXPECT_FALSE(platform.GetAttributes(handle, vendorId, productId));
    EXPECT_EQ(reason(), notADevice);
    EXPECT_FALSE(platform.GetCollections(handle, collections));
    EXPECT_EQ(reason(), notADevice);
    EXPECT_FALSE(platform.SetFeature(handle, report));
    EXPECT_EQ(reason(), notADevice);
    EXPECT_FALSE(platform.GetFeature(handle, report));
    EXPECT_EQ(reason(), notADevice);
    platform.Close(handle);
    EXPECT_EQ(fcntl(handle, F_GETFD), -1);
}

TEST(HidrawPlatform, PausesOnTheRealClock) {
    FakeHidrawSystem system;
    HidrawPlatform platform(system, "/fake/sys/class/hidraw", "/fake/dev");
    const auto start = std::chrono::steady_clock::now();
    platform.Pause(-1);
    platform.Pause(0);
    platform.Pause(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace varnok
