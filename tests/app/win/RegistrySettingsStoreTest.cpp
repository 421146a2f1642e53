#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/win/RegistrySettingsStore.h"

namespace varnok {
namespace {

// A program name of the test's own, so that no real program's settings are touched; its key is
// removed afterwards.
class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    ~RegistrySettingsStoreTest() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, store_.KeyPath().c_str());
    }

    DWORD RawValue(const wchar_t* name, DWORD& type) {
        DWORD value = 0;
        DWORD size = sizeof value;
        const std::wstring path = store_.KeyPath() + L"\\Settings";
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, &value, &size) !=
            ERROR_SUCCESS) {
            type = REG_NONE;
        }
        return value;
    }

    RegistrySettingsStore store_{"varnok-test-" + std::to_string(GetCurrentProcessId())};
};

TEST_F(RegistrySettingsStoreTest, KeepsDwordValuesUnderTheProgramsKey) {
    EXPECT_EQ(store_.KeyPath(),
              L"Software\\brelmoth\\varnok-test-" + std::to_wstring(GetCurrentProcessId()));
    EXPECT_EQ(store_.ReadSetting("Settings", "keyLan", 7), 7);

    const struct {
        const char* name;
        std::int32_t value;
    } cases[] = {{"keyLan", 1}, {"keynum", -1}, {"KeyFun6Sel", 2}, {"keynum", 0x7FFFFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(store_.WriteSetting("Settings", c.name, c.value));
        EXPECT_EQ(store_.ReadSetting("Settings", c.name, 99), c.value);
        DWORD type = 0;
        EXPECT_EQ(RawValue(std::wstring(c.name, c.name + std::strlen(c.name)).c_str(), type),
                  static_cast<DWORD>(c.value));
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    }
    // Another program's name is another key.
    EXPECT_EQ(RegistrySettingsStore("varnok-test-other").ReadSetting("Settings", "keyLan", 5), 5);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\brelmoth\\varnok-test-other");
}

TEST_F(RegistrySettingsStoreTest, AValueThatIsNoDwordReadsAsTheDefault) {
    ASSERT_TRUE(store_.WriteSetting("Settings", "keynum", 3));
    const std::wstring path = store_.KeyPath() + L"\\Settings";
    const wchar_t text[] = L"3";
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"keyLan", REG_SZ, text, sizeof text),
        ERROR_SUCCESS);
    const unsigned char wide[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"KeyFun1Sel", REG_QWORD, wide,
                              sizeof wide),
              ERROR_SUCCESS);
    EXPECT_EQ(store_.ReadSetting("Settings", "keyLan", -5), -5);
    EXPECT_EQ(store_.ReadSetting("Settings", "KeyFun1Sel", -6), -6);
    EXPECT_EQ(store_.ReadSetting("Settings", "keynum", 0), 3);
}

}  // namespace
}  // namespace varnok
