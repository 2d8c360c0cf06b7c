// Registry helpers of the Wine tests: keys under a test key of their own, read back raw.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/handles_win.h"

namespace tollivar::test {

inline constexpr char kTestKey[] = "Software\\TollivarTests";

inline UniqueKey CreateKey(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr);
    return UniqueKey(key);
}

inline bool KeyExists(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    std::string Text() const { return std::string(bytes.begin(), bytes.end()).c_str(); }
    DWORD Dword() const { return bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(bytes.data()) : 0xDEADBEEF; }
};

inline std::optional<StoredValue> ReadValue(HKEY root, const std::string& path, const char* name,
                                     REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return std::nullopt;
    const UniqueKey owner(key);
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    value.bytes.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

inline void SetDword(HKEY root, const std::string& path, const char* name, DWORD data) {
    const UniqueKey key = CreateKey(root, path);
    RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

inline void SetText(HKEY root, const std::string& path, const char* name, const std::string& text) {
    const UniqueKey key = CreateKey(root, path);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

} // namespace tollivar::test
