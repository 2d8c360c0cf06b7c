// The removable-drive walk on the simulated stick E: with real hidden marks, folders and open files.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/drive_scan_win.h"
#include "engine/file_access_win.h"

namespace tollivar {
namespace {

using test::RemovableStick;

struct WalkResult {
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
};

WalkResult Walk() {
    WalkResult r;
    WalkRemovableDrive(
        "E:\\", [&](const std::string& s) { r.statuses.push_back(s); }, [&](const ScanRow& row) { r.rows.push_back(row); });
    return r;
}

void Put(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(RemovableStick().Write(relative, "content of " + relative));
    ASSERT_TRUE(SetFileAttributesA(RemovableStick().Path(relative).c_str(), attributes));
}

void Folder(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY) {
    ASSERT_TRUE(test::MakeFolders(RemovableStick().Path(relative)));
    SetFileAttributesA(RemovableStick().Path(relative).c_str(), attributes);
}

// An independent recursive walk: the order in which the platform lists the stick, depth first, with
// each folder named when it is entered. The iterative walk must report in this order.
void VisitOrder(const std::string& folder, std::vector<std::string>& order) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name[0] == '.') continue;
        const std::string path = folder + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            order.push_back(path + "\\");
            VisitOrder(path + "\\", order);
        } else {
            order.push_back(path);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

class DriveWalkTest : public testing::Test {
  protected:
    void SetUp() override { RemovableStick().Clear(); }
    void TearDown() override { RemovableStick().Pull(); }
};

TEST_F(DriveWalkTest, ListsHiddenListedExtensionsAndFolderNamedExecutablesInWalkOrder) {
    const DWORD hidden = FILE_ATTRIBUTE_HIDDEN;
    Put("autorun.inf", hidden);
    Put("x.EXE", hidden);
    Put("photo.jpg", hidden);
    Put("visible.exe");
    Put("README", hidden);
    Put("a.js", hidden);
    Put("a.jse", hidden);
    Put("a.jsx", hidden);
    Put("b.ex", hidden);
    Put("archive.tar.exe", hidden);
    Put("Docs\\Docs .exe", hidden);
    Put("Docs\\notes.txt", hidden);
    Put("Music\\Music .exe");
    Put("Music\\Music.exe");
    Put(".cache\\evil.exe", hidden);
    Put(".cache\\.cache .exe");
    Put(".hidden.exe", hidden);
    Folder("Arch");
    SetFileAttributesA("E:\\Arch", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    Put("Arch\\run.vbs", hidden | FILE_ATTRIBUTE_SYSTEM);
    Folder("Sys");
    SetFileAttributesA("E:\\Sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Put("Sys\\Sys .exe", hidden);
    Put("Sys\\deep\\start.lnk", hidden);

    // What each path gives, in the order its rows are added.
    const std::map<std::string, std::vector<ScanRow>> expected = {
        {"E:\\autorun.inf", {{"E:\\autorun.inf", "F", "suspicious."}}},
        {"E:\\x.EXE", {{"E:\\x.EXE", "F", "suspicious."}}},
        {"E:\\a.js", {{"E:\\a.js", "F", "suspicious."}}},
        {"E:\\a.jse", {{"E:\\a.jse", "F", "suspicious."}}},
        {"E:\\archive.tar.exe", {{"E:\\archive.tar.exe", "F", "suspicious."}}},
        {"E:\\Docs\\", {{"E:\\Docs\\Docs .exe", "F", "Win32.Autoit.CC"}}},
        {"E:\\Docs\\Docs .exe", {{"E:\\Docs\\Docs .exe", "F", "suspicious."}}},
        {"E:\\Music\\", {{"E:\\Music\\Music .exe", "F", "Win32.Autoit.CC"}}},
        {"E:\\Arch\\run.vbs", {{"E:\\Arch\\run.vbs", "F", "suspicious."}}},
        {"E:\\Sys\\", {{"E:\\Sys\\Sys .exe", "F", "Win32.Autoit.CC"}}},
        {"E:\\Sys\\Sys .exe", {{"E:\\Sys\\Sys .exe", "F", "suspicious."}}},
        {"E:\\Sys\\deep\\start.lnk", {{"E:\\Sys\\deep\\start.lnk", "F", "suspicious."}}},
    };
    std::vector<std::string> order;
    VisitOrder("E:\\", order);
    std::vector<ScanRow> expectedRows;
    for (const std::string& path : order) {
        auto it = expected.find(path);
        if (it != expected.end()) expectedRows.insert(expectedRows.end(), it->second.begin(), it->second.end());
    }
    for (const auto& [path, rows] : expected)
        ASSERT_NE(std::find(order.begin(), order.end(), path), order.end()) << path << " is not on the stick";
    ASSERT_EQ(expectedRows.size(), 12u);

    const WalkResult r = Walk();
    EXPECT_EQ(r.rows, expectedRows);
    // The status follows the files being examined; skipped entries are never shown.
    for (const std::string& s : r.statuses) {
        EXPECT_EQ(s.rfind(" Analyzing >>  E:\\", 0), 0u) << s;
        EXPECT_EQ(s.find(".cache"), std::string::npos) << s;
    }
    EXPECT_NE(std::find(r.statuses.begin(), r.statuses.end(), " Analyzing >>  E:\\photo.jpg"), r.statuses.end());
}

TEST_F(DriveWalkTest, AFileInUseIsSkipped) {
    Put("locked.exe", FILE_ATTRIBUTE_HIDDEN);
    Put("free.exe", FILE_ATTRIBUTE_HIDDEN);
    HANDLE held = CreateFileA("E:\\locked.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const WalkResult r = Walk();
    CloseHandle(held);
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{{"E:\\free.exe", "F", "suspicious."}}));
}

TEST_F(DriveWalkTest, AnEmptyOrPulledDriveGivesNothing) {
    EXPECT_TRUE(Walk().rows.empty());
    RemovableStick().Pull();
    const WalkResult pulled = Walk();
    EXPECT_TRUE(pulled.rows.empty());
    EXPECT_TRUE(pulled.statuses.empty());
}

TEST_F(DriveWalkTest, WalksATwoHundredLevelTreeAndPathsBeyond511Characters) {
    std::string deep;
    for (int level = 0; level < 200; ++level) deep += "d\\";
    ASSERT_TRUE(test::MakeFolders("E:\\" + deep.substr(0, deep.size() - 1)));
    const std::string bottom = "E:\\" + deep + "bottom.exe";
    ASSERT_GT(bottom.size(), 400u);
    HANDLE f = CreateFileW(test::LongPathW(bottom).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    // A second chain whose file lies beyond 511 characters.
    std::string longFolder = "E:\\long";
    while (longFolder.size() < 560) longFolder += "\\" + std::string(90, 'L');
    ASSERT_TRUE(test::MakeFolders(longFolder));
    const std::string farFile = longFolder + "\\farFile.vbs";
    f = CreateFileW(test::LongPathW(farFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN,
                    nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    EXPECT_TRUE(FileExists(farFile));

    const WalkResult r = Walk();
    std::vector<ScanRow> rows = r.rows;
    std::sort(rows.begin(), rows.end(), [](const ScanRow& a, const ScanRow& b) { return a.infection < b.infection; });
    // A file whose path a row cannot hold in full gives no row: its cut text would name another file,
    // and healing acts on the text. It is still walked and shown in the status texts.
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].infection, bottom);
    for (const std::string& s : r.statuses) EXPECT_LE(s.size(), 511u);
}

} // namespace
} // namespace tollivar
