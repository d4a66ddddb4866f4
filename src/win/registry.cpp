#include "win/registry.h"

#include <utility>

#include "win/win_handles.h"

namespace win {

LSTATUS writeString(HKEY key, const std::wstring& name, const std::wstring& value) {
    return RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS writeBytes(HKEY key, const std::wstring& name, std::string_view bytes) {
    return RegSetValueExW(key, name.c_str(), 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
}

LSTATUS createAndWriteString(HKEY root, const wchar_t* subkey, const std::wstring& name,
                             const std::wstring& value) {
    OwnedKey key;
    const LSTATUS status = RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                           key.receive(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return writeString(key.get(), name, value);
}

std::optional<std::wstring> readString(HKEY key, const wchar_t* subkey, const std::wstring& name) {
    DWORD bytes = 0;
    if (RegGetValueW(key, subkey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(key, subkey, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::vector<std::wstring> readStrings(HKEY key) {
    std::vector<std::wstring> texts;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return texts;
    std::wstring name(longest + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD chars = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumValueW(key, i, name.data(), &chars, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // a longer name added since: not this one
        if (status != ERROR_SUCCESS) break;
        if (auto text = readString(key, nullptr, name.substr(0, chars)))
            texts.push_back(std::move(*text));
    }
    return texts;
}

LSTATUS readDword(HKEY key, const std::wstring& name, DWORD& value) {
    DWORD bytes = sizeof value;
    return RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &bytes);
}

std::string readBytes(HKEY key, const std::wstring& name) {
    std::string bytes(64, '\0');  // the values read this way are a few bytes long
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

LSTATUS findValue(HKEY key, const std::wstring& name) {
    return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
}

}  // namespace win
