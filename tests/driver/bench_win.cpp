#include "bench_win.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace tollivar::test {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Narrow(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

std::string BenchUnixDir() { return Env("TOLLIVAR_BENCH"); }

std::string DosPathOfUnix(const std::string& unixPath) {
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    static const auto toDos =
        reinterpret_cast<ToDos>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return {};
    WCHAR* dos = toDos(unixPath.c_str());
    if (!dos) return {};
    std::string s = Narrow(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return s;
}

std::string ProgramUnderTest() { return DosPathOfUnix(Env("TOLLIVAR_EXE")); }

std::string ScreenshotPath(const std::string& name) {
    const std::string dir = DosPathOfUnix(Env("TOLLIVAR_SCREENSHOTS"));
    MakeFolders(dir);
    return dir + "\\" + name + ".png";
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == content.size();
}

std::string ReadTextFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(f);
    return content;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

namespace {

// Wide calls with the long form, so that trees deeper than MAX_PATH go too.
void DeleteTreeW(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") DeleteTreeW(path + L"\\" + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

void DeleteTree(const std::string& path) { DeleteTreeW(LongPathW(path)); }

void DeleteContents(const std::string& folder) {
    const std::wstring root = LongPathW(folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") DeleteTreeW(root + L"\\" + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::wstring Widen(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, w.data(), n);
    return w;
}

std::wstring LongPathW(const std::string& path) {
    return Widen(path.rfind("\\\\", 0) == 0 ? path : "\\\\?\\" + path);
}

bool MakeFolders(const std::string& path) {
    // Wide calls with the \\?\ prefix, so that folders longer than MAX_PATH can be made too.
    for (std::size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
        CreateDirectoryW(LongPathW(path.substr(0, pos)).c_str(), nullptr);
    CreateDirectoryW(LongPathW(path).c_str(), nullptr);
    const DWORD a = GetFileAttributesW(LongPathW(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

InstallFolder::InstallFolder(const std::string& name) : path_("C:\\Tollivar Tests\\" + name + "\\") {
    DeleteTree(path_.substr(0, path_.size() - 1));
    MakeFolders(path_.substr(0, path_.size() - 1));
    CopyFileA(ProgramUnderTest().c_str(), ExePath().c_str(), FALSE);
}

InstallFolder::~InstallFolder() { DeleteTree(path_.substr(0, path_.size() - 1)); }

SimulatedDrive::SimulatedDrive(char letter, const std::string& folderName)
    : letter_(letter), dosFolder_(DosPathOfUnix(BenchUnixDir() + "/drives/" + folderName)) {}

namespace {

ULONGLONG NowSeconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000000ull;
}

// Wine maps a file back to its drive letter through a table it refreshes at most once a second, so a
// folder made a moment ago resolves to a host path until then. A real stick is a volume from the
// start: wait until the root resolves to its letter, as a program on Windows would see it at once.
void WaitUntilTheLetterResolves(char letter) {
    // Every process keeps its own table, refreshed by its first lookup in a new second: once the
    // clock has passed into the next second, the program under test resolves the letter too.
    const ULONGLONG inserted = NowSeconds();
    const std::wstring root = {static_cast<wchar_t>(letter), L':', L'\\'};
    const std::wstring expected = L"\\\\?\\" + root;
    for (int attempt = 0; attempt < 60; ++attempt) {
        HANDLE h = CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            wchar_t path[MAX_PATH] = {};
            const DWORD n = GetFinalPathNameByHandleW(h, path, MAX_PATH, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            CloseHandle(h);
            if (n > 0 && n < MAX_PATH && _wcsnicmp(path, expected.c_str(), expected.size()) == 0) break;
        }
        Sleep(50);
    }
    while (NowSeconds() == inserted) Sleep(20);
}

} // namespace

void SimulatedDrive::WaitUntilResolvable() const { WaitUntilTheLetterResolves(letter_); }

void SimulatedDrive::Insert() {
    MakeFolders(dosFolder_);
    WaitUntilTheLetterResolves(letter_);
}

void SimulatedDrive::Pull() { DeleteTree(dosFolder_); }

void SimulatedDrive::Clear() {
    Insert();
    DeleteContents(dosFolder_);
}

bool SimulatedDrive::Write(const std::string& relative, const std::string& content) const {
    const std::string path = Path(relative);
    const std::size_t slash = path.rfind('\\');
    if (slash > 2) MakeFolders(path.substr(0, slash));
    return WriteTextFile(path, content);
}

bool SimulatedDrive::Stage(const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string staging = dosFolder_ + ".staging";
    DeleteTree(staging);
    if (!MakeFolders(staging)) return false;
    for (const auto& [relative, content] : files) {
        const std::string path = staging + "\\" + relative;
        MakeFolders(path.substr(0, path.rfind('\\')));
        if (!WriteTextFile(path, content)) return false;
    }
    return true;
}

bool SimulatedDrive::InsertStaged() {
    Pull();
    return MoveFileW(LongPathW(dosFolder_ + ".staging").c_str(), LongPathW(dosFolder_).c_str()) != FALSE;
}

SimulatedDrive& SecondStick() {
    static SimulatedDrive stick('G', "g");
    return stick;
}

SimulatedDrive& RemovableStick() {
    static SimulatedDrive stick('E', "e");
    return stick;
}

SimulatedDrive& FixedDrive() {
    static SimulatedDrive drive('F', "f");
    return drive;
}

std::vector<std::string> QuarantinedFileNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : FileNamesIn(folder)) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const auto endsWith = [&](const char* end) {
            const std::string e(end);
            return lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
        };
        if (!endsWith(".qrec") && !endsWith(".qrec.tmp")) names.push_back(name);
    }
    return names;
}

} // namespace tollivar::test
