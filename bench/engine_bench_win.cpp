// Figures for the detection engine under Wine: the drive walk against bare enumeration of the same
// tree, the definitions walk against one plain read of def.uas, one autorun analysis, one Resident
// Shield pass of the real program with one and with four sticks, the time from a stick's arrival to
// its rows with and without the arrival notice, and the longest time the program's window does not
// answer during a scan of the big stick. TOLLIVAR_BENCH_ONLY=shield runs only the shield's figures.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <dbt.h>

#include "bench_win.h"
#include "engine/autorun_analysis_win.h"
#include "engine/definitions_scan_win.h"
#include "engine/drive_scan_win.h"
#include "engine/drives_win.h"
#include "engine/file_access_win.h"
#include "engine/profile_text.h"
#include "engine/resident_shield_win.h"
#include "mount_manager_win.h"
#include "engine/shortcut_scan_win.h"
#include "shell_links_win.h"
#include "ui_driver_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double BestOfMs(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

void WriteFileText(const std::string& path, const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

struct TreeFacts {
    int files = 0;
    int folders = 0;
    int expectedRows = 0;
};

// 10 x 10 x 10 folders of 50 files: 50,000 files. About 3% are hidden with a listed extension, and
// one folder in 37 holds an executable named after it.
TreeFacts MakeTree(const std::string& root) {
    TreeFacts facts;
    const char* extensions[] = {".txt", ".jpg", ".doc", ".exe", ".mp3", ".js", ".pdf", ".png"};
    int serial = 0;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c) {
                const std::string name = "f" + std::to_string(c);
                const std::string folder = root + "a" + std::to_string(a) + "\\b" + std::to_string(b) + "\\" + name;
                CreateDirectoryA((root + "a" + std::to_string(a)).c_str(), nullptr);
                CreateDirectoryA((root + "a" + std::to_string(a) + "\\b" + std::to_string(b)).c_str(), nullptr);
                CreateDirectoryA(folder.c_str(), nullptr);
                ++facts.folders;
                for (int i = 0; i < 50; ++i, ++serial) {
                    const bool suspicious = serial % 33 == 0;
                    const std::string file = folder + "\\file" + std::to_string(i) +
                                             (suspicious ? ".vbs" : extensions[serial % 8]);
                    WriteFileText(file, "x", suspicious ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
                    ++facts.files;
                    if (suspicious) ++facts.expectedRows;
                }
                if (facts.folders % 37 == 0) {
                    WriteFileText(folder + "\\" + name + " .exe", "x");
                    ++facts.files;
                    ++facts.expectedRows;
                }
            }
    return facts;
}

int BareEnumerate(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (data.cFileName[0] == '.') continue;
        ++count;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += BareEnumerate(folder + data.cFileName + "\\");
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

std::string MakeDefinitions(int threats) {
    std::string text = "[INFO]\r\nVersion=bench\r\n";
    text.reserve(static_cast<std::size_t>(threats) * 160);
    for (int k = 1; k <= threats; ++k) {
        const std::string n = std::to_string(k);
        text += "[" + n + "]\r\nTh=Bench.Threat." + n + "\r\nP1=bench" + n + "a.exe\r\nP2=bench" + n +
                "b.exe\r\nF1=%TEMP%\\bench\\" + n + "a.exe\r\nF2=C:\\bench-none\\" + n + "b.dll\r\n";
    }
    return text;
}

void BenchDriveWalk() {
    const std::string root = "E:\\";
    const std::string stamp = root + "bench-tree.done";
    if (GetFileAttributesA(stamp.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("making the 50,000-file tree on E: (once)...\n");
        std::fflush(stdout);
        const TreeFacts facts = MakeTree(root);
        WriteFileText(stamp, std::to_string(facts.expectedRows));
    }
    int rows = 0, statuses = 0;
    int entries = 0;
    const double bare = BestOfMs(3, [&] { entries = BareEnumerate(root); });
    const double walk = BestOfMs(3, [&] {
        rows = statuses = 0;
        tollivar::WalkRemovableDrive(
            root, [&](const std::string&) { ++statuses; }, [&](const tollivar::ScanRow&) { ++rows; });
    });
    std::printf("(a) drive walk: %d entries; bare FindFirstFile/FindNextFile %.1f ms; WalkRemovableDrive %.1f ms "
                "(%d rows, %d status texts); ratio %.2fx (goal <= 1.3x)\n",
                entries, bare, walk, rows, statuses, walk / bare);

    // The same tree with 500 shortcuts among its files, half of them bait: the walk judges each one.
    const std::string linked = root + "bench-links.done";
    if (GetFileAttributesA(linked.c_str()) == INVALID_FILE_ATTRIBUTES) {
        for (int i = 0; i < 500; ++i) {
            const std::string folder = root + "a" + std::to_string(i / 50) + "\\b" + std::to_string((i / 5) % 10) +
                                       "\\f" + std::to_string(i % 5 * 2);
            const std::wstring path(folder.begin(), folder.end());
            tollivar::test::LinkSpec spec;
            if (i % 2 == 0) {
                spec.target = L"C:\\windows\\system32\\cmd.exe";
                spec.arguments = L"/c start file0.vbs & start explorer file1.txt & exit";
            } else {
                spec.target = L"C:\\windows\\notepad.exe";
            }
            tollivar::test::MakeShellLink(path + L"\\link" + std::to_wstring(i) + L".lnk", spec);
        }
        WriteFileText(linked, "500");
    }
    const double bareLinks = BestOfMs(3, [&] { entries = BareEnumerate(root); });
    const double walkLinks = BestOfMs(3, [&] {
        rows = statuses = 0;
        tollivar::WalkRemovableDrive(
            root, [&](const std::string&) { ++statuses; }, [&](const tollivar::ScanRow&) { ++rows; });
    });
    std::printf("(a) drive walk with 500 shortcuts (250 bait): %d entries; bare %.1f ms; WalkRemovableDrive %.1f ms "
                "(%d rows); ratio %.2fx (goal <= 1.3x)\n",
                entries, bareLinks, walkLinks, rows, walkLinks / bareLinks);
}

void BenchDefinitions() {
    const std::string def = "C:\\bench\\def.uas";
    CreateDirectoryA("C:\\bench", nullptr);
    for (int threats : {2500, 5000, 10000, 20000}) {
        const std::string text = MakeDefinitions(threats);
        WriteFileText(def, text);
        std::string read;
        const double plain = BestOfMs(3, [&] {
            HANDLE f = CreateFileA(def.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            read.assign(text.size(), '\0');
            DWORD got = 0;
            ReadFile(f, read.data(), static_cast<DWORD>(read.size()), &got, nullptr);
            CloseHandle(f);
        });
        int rows = 0;
        const double walk = BestOfMs(3, [&] {
            rows = 0;
            tollivar::RunDefinitionScan(def, [](const std::string&) {}, [&](const tollivar::ScanRow&) { ++rows; });
        });
        std::printf("(b) definitions walk, %5d threats (%zu bytes): plain read %.2f ms; RunDefinitionScan %.2f ms; "
                    "ratio %.2fx; %.2f us per threat\n",
                    threats, text.size(), plain, walk, walk / plain, walk * 1000.0 / threats);
    }
    // The in-memory reader must answer as the platform's reader does: compare a sample of keys.
    const tollivar::ProfileText parsed = tollivar::ProfileText::Parse(MakeDefinitions(20000));
    int compared = 0, differing = 0;
    for (int k = 1; k <= 20000; k += 97)
        for (const char* key : {"Th", "P1", "P2", "F1", "F2", "P3"}) {
            char value[512] = {};
            GetPrivateProfileStringA(std::to_string(k).c_str(), key, "", value, sizeof value, def.c_str());
            ++compared;
            if (parsed.Read(std::to_string(k), key) != value) ++differing;
        }
    std::printf("    reader check: %d keys compared with the platform's profile reader, %d differ\n", compared,
                differing);
}

void BenchAutorun() {
    CreateDirectoryA("E:\\", nullptr);
    WriteFileText("E:\\autorun.inf", "[autorun]\r\nopen=RECYCLER\\run.exe /go\r\n");
    tollivar::AutorunFinding finding;
    const int runs = 200;
    const double total = BestOfMs(1, [&] {
        for (int i = 0; i < runs; ++i) finding = tollivar::AnalyzeAutorun("E:\\");
    });
    std::printf("(c) AnalyzeAutorun on E:: %.3f ms per analysis (%s)\n", total / runs, finding.targetPath.c_str());
}

// The shortcut part of a shield pass over a stick (G:) whose root holds 200 shortcuts, half of them
// bait: the first pass reads and judges every one, a repeated pass only lists and judges again. The
// autorun part of the same pass (today's whole pass) is shown beside it.
void BenchShortcutPass() {
    const std::wstring root = L"G:\\";
    tollivar::test::WriteWide(root + L"x.vbs", "' stand-in", FILE_ATTRIBUTE_HIDDEN);
    const int shortcuts = 200;
    for (int i = 0; i < shortcuts; ++i) {
        const std::wstring name = root + L"item" + std::to_wstring(i) + L".lnk";
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (i % 2 == 0)
            tollivar::test::MakeShellLink(name, {L"C:\\windows\\system32\\cmd.exe",
                                                 L"/c start x.vbs & start explorer item" + std::to_wstring(i) +
                                                     L" & exit"});
        else
            tollivar::test::MakeShellLink(name, {L"C:\\windows\\notepad.exe"});
    }
    std::size_t found = 0, read = 0;
    const double first = BestOfMs(5, [&] {
        tollivar::RootShortcutScanner scanner;
        found = scanner.Findings("G:\\").size();
        read = scanner.FilesRead();
    });
    tollivar::RootShortcutScanner scanner;
    scanner.Findings("G:\\");
    const double repeated = BestOfMs(20, [&] { scanner.Findings("G:\\"); });
    const double autorun = BestOfMs(20, [&] { tollivar::ShieldFindings({"G:\\"}); });
    std::printf("(f) shield pass over %d root shortcuts on G: (%zu bait): first pass %.2f ms (%zu read), repeated "
                "pass %.2f ms (%zu read in all); autorun part of the pass %.3f ms\n",
                shortcuts, found, first, read, repeated, scanner.FilesRead(), autorun);
}

// One round trip of a message to the program's window, in milliseconds.
double RoundTripMs(HWND window, UINT message, WPARAM wParam) {
    const auto start = Clock::now();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, 60000, &result);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program on a throw-away install folder: alert off, the removable drives in the scan, no tray
// notice. Its main window, or null.
HWND StartProgram(std::optional<tollivar::test::RunningApp>& app, const tollivar::test::InstallFolder& folder) {
    tollivar::test::WriteTextFile(folder.File("settings.ini"),
                                  "[SCAN]\r\nLD=0\r\nRM=1\r\n[SETTINGS]\r\nS3=0\r\n[TRAY]\r\n1=1\r\n");
    app.emplace(tollivar::test::RunningApp::Start(folder.ExePath()));
    return app->WaitForMainWindow();
}

// The sticks of the shield figures: E: and G: are the bench's removable drives, H: and I: are added
// through the mount manager. Each stick's autorun.inf names a program.
const char kStickLetters[] = {'E', 'G', 'H', 'I'};

std::string StickUnixFolder(char letter) {
    return tollivar::test::BenchUnixDir() + "/drives/" + static_cast<char>(letter - 'A' + 'a');
}

void InsertSticks(int count) {
    for (int i = 0; i < 4; ++i) {
        const char letter = kStickLetters[i];
        const std::string folder = tollivar::test::DosPathOfUnix(StickUnixFolder(letter));
        if (letter == 'H' || letter == 'I') tollivar::test::RemoveDefinedDrive(letter);
        if (letter != 'E') tollivar::test::DeleteTree(folder);
        if (i >= count) continue;
        tollivar::test::MakeFolders(folder);
        WriteFileText(folder + "\\autorun.inf", "[autorun]\r\nopen=RECYCLER\\run.exe /go\r\n");
        if (letter == 'H' || letter == 'I') tollivar::test::DefineRemovableDrive(letter, StickUnixFolder(letter));
    }
    Sleep(300); // the mount manager's drives are listed within 200 ms
}

// Where a pass's time goes, in this process: the drive list, and the autorun files read fresh (as
// the scan does) against the shield's findings, which read an unchanged file only once.
void BenchShieldParts(int sticks) {
    const int runs = 200;
    std::vector<std::string> roots;
    const double list = BestOfMs(1, [&] {
                            for (int i = 0; i < runs; ++i) roots = tollivar::DriveRoots(tollivar::DriveKind::Removable);
                        }) /
                        runs;
    const double fresh = BestOfMs(1, [&] {
                             for (int i = 0; i < runs; ++i)
                                 for (const std::string& root : roots) tollivar::AnalyzeAutorun(root);
                         }) /
                         runs;
    std::size_t found = 0;
    const double kept = BestOfMs(1, [&] {
                            for (int i = 0; i < runs; ++i) found = tollivar::ShieldFindings(roots).size();
                        }) /
                        runs;
    std::printf("    parts, %d stick(s): DriveRoots %.3f ms (%zu roots); autorun files read fresh %.3f ms; "
                "ShieldFindings %.3f ms (%zu found)\n",
                sticks, list, roots.size(), fresh, kept, found);
}

// A monitor tick sent by hand runs one pass inside the message: its round trip less that of a message
// that does nothing. Every stick is listed already, so the pass finds nothing new.
void BenchShieldPass(int sticks) {
    InsertSticks(sticks);
    tollivar::test::InstallFolder folder("Tollivar Bench");
    std::optional<tollivar::test::RunningApp> app;
    HWND window = StartProgram(app, folder);
    if (!window) {
        std::printf("(d) shield pass: the program did not start\n");
        return;
    }
    Sleep(1500);
    const int runs = 200;
    double idle = 0, tick = 0;
    for (int i = 0; i < runs; ++i) idle += RoundTripMs(window, WM_NULL, 0);
    for (int i = 0; i < runs; ++i) tick += RoundTripMs(window, WM_TIMER, 1);
    std::printf("(d) one Resident Shield pass, %d stick(s) listed, nothing new: %.3f ms (tick %.3f ms, empty "
                "message %.3f ms)\n",
                sticks, (tick - idle) / runs, tick / runs, idle / runs);
    app->Kill();
    BenchShieldParts(sticks);
}

// Insert-to-rows: H: is added through the mount manager 100 ms after a timer pass (caught by the rows
// of a stick put on G:), with and without the arrival notice Windows would send.
void BenchArrival() {
    const int rounds = 5;
    HWND shieldList = nullptr;
    for (const bool announce : {true, false}) {
        double total = 0, worst = 0, best = 1e300;
        for (int round = 0; round < rounds; ++round) {
            InsertSticks(0);
            DeleteFileA("E:\\autorun.inf"); // the big stick stays, and names no program
            const std::string h = tollivar::test::DosPathOfUnix(StickUnixFolder('H'));
            tollivar::test::MakeFolders(h);
            WriteFileText(h + "\\autorun.inf", "[autorun]\r\nopen=worm.exe\r\n");
            tollivar::test::InstallFolder folder("Tollivar Bench");
            std::optional<tollivar::test::RunningApp> app;
            HWND window = StartProgram(app, folder);
            shieldList = window ? tollivar::test::Control(
                                      tollivar::test::Control(tollivar::test::Control(window, 2000), 2001), 4103)
                                : nullptr;
            if (!shieldList) {
                std::printf("(f) arrival: the program did not start\n");
                return;
            }
            const auto rows = [&] { return tollivar::test::ReadListView(shieldList).size(); };
            Sleep(500);
            tollivar::test::SecondStick().Stage({{"autorun.inf", "[autorun]\r\nopen=evil.exe\r\n"}});
            tollivar::test::SecondStick().InsertStaged();
            tollivar::test::WaitUntil([&] { return rows() == 2; }, 3000, 2);
            Sleep(100);
            const auto start = Clock::now();
            tollivar::test::DefineRemovableDrive('H', StickUnixFolder('H'));
            if (announce) tollivar::test::AnnounceVolume('H', DBT_DEVICEARRIVAL);
            const bool listed = tollivar::test::WaitUntil([&] { return rows() == 4; }, 3000, 2);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            app->Kill();
            if (!listed) {
                std::printf("(f) arrival: H: was never listed\n");
                return;
            }
            total += ms;
            worst = std::max(worst, ms);
            best = std::min(best, ms);
        }
        std::printf("(f) insert-to-rows %s the arrival notice, stick added 100 ms after a tick: mean %.1f ms, "
                    "best %.1f, worst %.1f over %d%s\n",
                    announce ? "with" : "without", total / rounds, best, worst, rounds,
                    announce ? " (goal: < 150 ms)" : " (the next one-second tick)");
    }
    InsertSticks(0);
}

// While the big stick is scanned, the window is asked every few milliseconds whether it answers.
void BenchScanStall() {
    tollivar::test::InstallFolder folder("Tollivar Bench");
    std::optional<tollivar::test::RunningApp> app;
    HWND window = StartProgram(app, folder);
    HWND panel = window ? tollivar::test::Control(tollivar::test::Control(window, 2000), 2001) : nullptr;
    if (!panel) {
        std::printf("(e) scan stall: the program did not start\n");
        return;
    }
    Sleep(1000);
    tollivar::test::ClickButton(window, 4213);
    const auto start = Clock::now();
    double longest = 0, total = 0;
    int probes = 0;
    bool scanning = false;
    while (std::chrono::duration<double>(Clock::now() - start).count() < 600) {
        const double trip = RoundTripMs(window, WM_NULL, 0);
        longest = std::max(longest, trip);
        total += trip;
        ++probes;
        const std::string status = tollivar::test::ControlText(panel, 4210);
        if (status == "SCANNING, PLEASE WAIT...") scanning = true;
        if (scanning && status.find("DETECTED.") != std::string::npos) break;
        Sleep(5);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("(e) UI thread during a scan of the 50,000-file stick: longest stall %.1f ms, mean answer %.2f ms "
                "over %d probes; scan %.1f s (%s) (goal: longest < 100 ms)\n",
                longest, total / std::max(probes, 1), probes, seconds,
                tollivar::test::ControlText(panel, 4210).c_str());
    app->Kill();
}

} // namespace

// A pass's autorun reading over four sticks with padded autorun.inf files (64 KiB each, then one of
// them 20 MB): the lenient reader of every launch entry against reading "open" through the profile
// reader, as the pass did before.
std::string PaddedAutorun(std::size_t size) {
    std::string text = "[autorun]\r\n";
    std::string junk;
    for (int i = 0; junk.size() < size; ++i) {
        junk += ";";
        for (int j = 0; j < 60; ++j) junk += static_cast<char>(0x80 + ((i * 31 + j * 7) % 120));
        junk += "\r\n";
        if (i % 97 == 50) junk += "\t shell\\explore\\command = rundll32.exe .\\RECYCLER\\x.dll,run\r\n";
    }
    return text + "open=RECYCLER\\run.exe /go\r\n" + junk.substr(0, size);
}

void BenchPaddedAutorun() {
    InsertSticks(4);
    for (int i = 0; i < 4; ++i) {
        const std::string folder = tollivar::test::DosPathOfUnix(StickUnixFolder(kStickLetters[i]));
        WriteFileText(folder + "\\autorun.inf", PaddedAutorun(64 * 1024));
    }
    const auto roots = [] {
        std::vector<std::string> r;
        for (int i = 0; i < 4; ++i) r.push_back(std::string(1, kStickLetters[i]) + ":\\");
        return r;
    }();
    const auto measure = [&](const char* label) {
        std::size_t found = 0;
        const double lenient = BestOfMs(5, [&] {
            found = 0;
            for (const std::string& root : roots) found += tollivar::AnalyzeAutorunFindings(root).size();
        });
        const double profile = BestOfMs(5, [&] {
            for (const std::string& root : roots) {
                char value[512] = {};
                GetPrivateProfileStringA("autorun", "open", "", value, sizeof value, (root + "autorun.inf").c_str());
                tollivar::ResolveAutorunOpen(root, value, tollivar::EnvironmentValue);
            }
        });
        std::printf("(g) autorun reading over 4 sticks, %s: every launch entry %.3f ms (%zu targets); \"open\" "
                    "through the profile reader %.3f ms\n",
                    label, lenient, found, profile);
    };
    measure("64 KiB padded files");
    const std::string last = tollivar::test::DosPathOfUnix(StickUnixFolder(kStickLetters[3]));
    WriteFileText(last + "\\autorun.inf", PaddedAutorun(20 * 1024 * 1024));
    measure("three 64 KiB files and one of 20 MB");
    InsertSticks(1);
}

int main() {
    SetEnvironmentVariableA("TEMP", "C:\\bench-temp");
    const char* only = std::getenv("TOLLIVAR_BENCH_ONLY");
    const bool shieldOnly = only && std::string(only) == "shield";
    if (only && std::string(only) == "walk") {
        BenchDriveWalk();
        return 0;
    }
    if (!shieldOnly) {
        BenchAutorun();
        BenchDefinitions();
        BenchDriveWalk();
        BenchShortcutPass();
    }
    if (std::getenv("TOLLIVAR_EXE")) {
        tollivar::test::RemovableStick().Insert();
        BenchShieldPass(1);
        BenchShieldPass(4);
        BenchPaddedAutorun();
        InsertSticks(1);
        if (!shieldOnly) BenchScanStall();
        BenchArrival();
    } else {
        std::printf("(d), (e), (f): TOLLIVAR_EXE is not set: run through the bench target\n");
    }
    return 0;
}
