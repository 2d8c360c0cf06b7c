#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr std::size_t kShortPathLimit = MAX_PATH - 1;

} // namespace

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::string Utf8FromCodePage(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return Utf8FromWide(wide);
}

std::string Utf8FromAnsi(std::string_view ansi) {
    return Utf8FromCodePage(CP_ACP, ansi);
}

std::wstring WidePath(std::string_view utf8Path) {
    std::wstring wide = WideFromUtf8(utf8Path);
    if (wide.size() <= kShortPathLimit) return wide;
    const bool twoSlashes = wide.rfind(L"\\\\", 0) == 0;
    if (twoSlashes && wide.size() > 2 && (wide[2] == L'?' || wide[2] == L'.')) return wide;
    if (twoSlashes) return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

} // namespace tollivar
