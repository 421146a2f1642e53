#include "app/win/RegistrySettingsStore.h"

#include <windows.h>

#include <cwchar>
#include <filesystem>

#include "app/UserDataFolder.h"
#include "store/win/WideText.h"

namespace varnok {

namespace {

// The section's key, made when missing; nullptr when it cannot be had.
HKEY OpenSection(const std::wstring& keyPath, std::string_view section, REGSAM access) {
    const std::wstring path = keyPath + L"\\" + WideFromUtf8(section);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(const std::string& applicationName)
    : keyPath_(L"Software\\" + WideFromUtf8(kOrganisationName) + L"\\" +
               WideFromUtf8(applicationName)) {}

std::int32_t RegistrySettingsStore::ReadSetting(std::string_view section, std::string_view name,
                                                std::int32_t defaultValue) {
    const HKEY key = OpenSection(keyPath_, section, KEY_QUERY_VALUE);
    if (key == nullptr) {
        return defaultValue;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status = RegQueryValueExW(key, WideFromUtf8(name).c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return defaultValue;
    }
    return static_cast<std::int32_t>(value);
}

FileResult RegistrySettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                               std::int32_t value) {
    // A registry value has no file: the message names the key it lives under.
    const std::filesystem::path place = L"HKEY_CURRENT_USER\\" + keyPath_;
    const HKEY key = OpenSection(keyPath_, section, KEY_SET_VALUE);
    if (key == nullptr) {
        return {FileProblem::SystemError, place, {}};
    }
    const auto data = static_cast<DWORD>(value);
    const LSTATUS status = RegSetValueExW(key, WideFromUtf8(name).c_str(), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {FileProblem::SystemError, place, {}};
    return {};
}

std::string RegistrySettingsStore::ReadText(std::string_view section, std::string_view name) {
    const std::wstring path = keyPath_ + L"\\" + WideFromUtf8(section);
    // A layout name or identifier is short; a longer value is not one Varnok wrote.
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), WideFromUtf8(name).c_str(), RRF_RT_REG_SZ,
                     &type, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return Utf8FromWide(std::wstring(value, wcsnlen(value, size / sizeof(wchar_t))));
}

FileResult RegistrySettingsStore::WriteText(std::string_view section, std::string_view name,
                                            std::string_view text) {
    const std::filesystem::path place = L"HKEY_CURRENT_USER\\" + keyPath_;
    const HKEY key = OpenSection(keyPath_, section, KEY_SET_VALUE);
    if (key == nullptr) return {FileProblem::SystemError, place, {}};
    const std::wstring wide = WideFromUtf8(text);
    const LSTATUS status = RegSetValueExW(key, WideFromUtf8(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(wide.c_str()),
                                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {FileProblem::SystemError, place, {}};
    return {};
}

}  // namespace varnok
