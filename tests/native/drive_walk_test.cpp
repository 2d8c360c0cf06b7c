#include "config/text_rules.h"
#include "engine/drive_walk.h"
#include "engine/drive_walk_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <pthread.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tollivar {
namespace {

constexpr std::uint32_t kFile = 0x20;   // archive
constexpr std::uint32_t kHidden = 0x22; // archive + hidden
constexpr std::uint32_t kFolder = 0x10;
constexpr std::uint32_t kLink = 0x410; // folder + reparse point

// A simulated stick: folders list their entries in the order they were added, "." and ".." first
// below the root as the platform lists them; names are found without regard to case, Latin letters
// beyond ASCII included, as a file system would.
class FakeDrive {
  public:
    explicit FakeDrive(std::string root = "E:\\") : root_(std::move(root)) { folders_[Key(root_)]; }

    // path relative to the root; parent folders are created as plain folders.
    void Add(const std::string& path, std::uint32_t attributes) {
        std::string folder = root_;
        std::size_t start = 0;
        for (std::size_t slash; (slash = path.find('\\', start)) != std::string::npos; start = slash + 1) {
            const std::string name = path.substr(start, slash - start);
            if (!attributes_.count(Key(folder + name))) AddEntry(folder, name, kFolder);
            folder += name + "\\";
        }
        AddEntry(folder, path.substr(start), attributes);
    }
    void Lock(const std::string& path) { locked_.insert(Key(root_ + path)); }
    void Unlistable(const std::string& folder) { unlistable_.insert(Key(root_ + folder)); }

    std::optional<std::vector<DirectoryEntry>> List(const std::string& folder) {
        listed.push_back(folder);
        const auto f = folders_.find(Key(folder));
        if (f == folders_.end() || unlistable_.count(Key(folder))) return std::nullopt;
        std::vector<DirectoryEntry> entries;
        if (folder != root_) entries = {{".", kFolder}, {"..", kFolder}};
        entries.insert(entries.end(), f->second.begin(), f->second.end());
        return entries;
    }

    bool Exists(const std::string& path) {
        existenceTests.push_back(path);
        const auto a = attributes_.find(Key(path));
        return a != attributes_.end() && (a->second & kAttributeDirectory) == 0 && !locked_.count(Key(path));
    }

    DriveWalkHooks Hooks(std::vector<ScanRow>& rows, std::vector<std::string>* statuses = nullptr) {
        DriveWalkHooks hooks;
        hooks.list = [this](const std::string& folder) { return List(folder); };
        hooks.fileExists = [this](const std::string& path) { return Exists(path); };
        hooks.addRow = [&rows](const ScanRow& row) { rows.push_back(row); };
        if (statuses) hooks.showStatus = [statuses](const std::string& text) { statuses->push_back(text); };
        return hooks;
    }

    std::vector<std::string> listed;
    std::vector<std::string> existenceTests;

  private:
    static std::string Key(const std::string& path) {
        std::string k = path;
        for (char& c : k) {
            const unsigned char u = static_cast<unsigned char>(c);
            if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
                c = static_cast<char>(u - 0x20);
        }
        return k;
    }
    void AddEntry(const std::string& folder, const std::string& name, std::uint32_t attributes) {
        folders_[Key(folder)].push_back({name, attributes});
        attributes_[Key(folder + name)] = attributes;
        if (attributes & kAttributeDirectory) folders_[Key(folder + name + "\\")];
    }

    std::string root_;
    std::map<std::string, std::vector<DirectoryEntry>> folders_;
    std::map<std::string, std::uint32_t> attributes_;
    std::set<std::string> locked_, unlistable_;
};

ScanRow Suspicious(const std::string& path) {
    return {path, "F", "suspicious."};
}
ScanRow FolderNamed(const std::string& path) {
    return {path, "F", "Win32.Autoit.CC"};
}

struct RootFileCase {
    const char* name;
    std::uint32_t attributes;
    bool listed;
};

class RootFiles : public testing::TestWithParam<RootFileCase> {};

TEST_P(RootFiles, HiddenFilesWithListedExtensions) {
    const RootFileCase& c = GetParam();
    FakeDrive drive;
    drive.Add(c.name, c.attributes);
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    if (c.listed)
        EXPECT_EQ(rows, std::vector<ScanRow>{Suspicious(std::string("E:\\") + c.name)});
    else
        EXPECT_TRUE(rows.empty()) << rows.front().infection;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RootFiles,
    testing::Values(RootFileCase{"autorun.inf", kHidden, true}, RootFileCase{"x.EXE", kHidden, true},
                    RootFileCase{"photo.jpg", kHidden, false}, RootFileCase{"x.exe", kFile, false},
                    RootFileCase{"README", kHidden, false}, RootFileCase{"a.js", kHidden, true},
                    RootFileCase{"a.jse", kHidden, true}, RootFileCase{"a.jsx", kHidden, false},
                    RootFileCase{"a.j", kHidden, false}, RootFileCase{"archive.tar.exe", kHidden, true},
                    RootFileCase{"x.exe.txt", kHidden, false}, RootFileCase{"x.", kHidden, false},
                    RootFileCase{"boot.lnk", 0x27, true}, RootFileCase{"hidden only.hta", 0x2, true},
                    RootFileCase{".hidden.exe", kHidden, false}));

TEST(DriveWalk, FolderNamedExecutableListedAndAgainWhenHidden) {
    FakeDrive drive;
    drive.Add("Docs\\Docs .exe", kFile);
    drive.Add("Pics\\Pics .exe", kHidden);
    drive.Add("Pics\\Pics .exe.bak", kHidden);
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    EXPECT_EQ(rows,
              (std::vector<ScanRow>{FolderNamed("E:\\Docs\\Docs .exe"), FolderNamed("E:\\Pics\\Pics .exe"),
                                    Suspicious("E:\\Pics\\Pics .exe")}));
}

TEST(DriveWalk, FolderNamedExecutableFoundWhateverItsCase) {
    FakeDrive drive;
    drive.Add("Docs\\DOCS .EXE", kFile);
    drive.Add("\xC9t\xE9\\\xE9T\xC9 .exe", kFile); // same name in other case beyond ASCII
    drive.Add("Docs\\Sub\\Docs .exe", kFile);      // named after another folder
    drive.Add("Music\\Music .exe\\x.txt", kFile);  // a folder of that name is no executable
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    EXPECT_EQ(rows, (std::vector<ScanRow>{FolderNamed("E:\\Docs\\Docs .exe"),
                                          FolderNamed("E:\\\xC9t\xE9\\\xC9t\xE9 .exe")}));
}

TEST(DriveWalk, DotNamesAndFolderLinksAreNotEntered) {
    FakeDrive drive;
    drive.Add(".cache\\evil.exe", kHidden);
    drive.Add(".cache\\.cache .exe", kFile);
    drive.Add("ToSystem", kLink); // a junction to C:\ on the stick
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(drive.listed, std::vector<std::string>{"E:\\"});
    EXPECT_TRUE(drive.existenceTests.empty());
}

TEST(DriveWalk, FoldersWithOtherAttributesAreWalked) {
    FakeDrive drive;
    drive.Add("Arch", 0x30); // folder + archive
    drive.Add("Arch\\a.exe", kHidden);
    drive.Add("Sys", 0x17); // folder + read-only, hidden, system
    drive.Add("Sys\\b.exe", kHidden);
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    EXPECT_EQ(rows, (std::vector<ScanRow>{Suspicious("E:\\Arch\\a.exe"), Suspicious("E:\\Sys\\b.exe")}));
}

TEST(DriveWalk, WhatCannotBeOpenedOrListedAddsNothing) {
    FakeDrive drive;
    drive.Add("inuse.exe", kHidden);
    drive.Lock("inuse.exe");
    drive.Add("Secret\\x.exe", kHidden);
    drive.Add("Secret\\Secret .exe", kFile);
    drive.Unlistable("Secret\\");
    drive.Add("z.bat", kHidden);
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", drive.Hooks(rows));
    // The folder's own executable is still tested when its listing fails; the walk goes on after it.
    EXPECT_EQ(rows, (std::vector<ScanRow>{FolderNamed("E:\\Secret\\Secret .exe"), Suspicious("E:\\z.bat")}));
}

TEST(DriveWalk, ShortcutsOfAnyCaseAreHandedOnAndNothingElse) {
    FakeDrive drive;
    drive.Add("Photos.lnk", kFile);
    drive.Add("Docs\\Report.LNK", kFile);
    drive.Add("Docs\\x.lnk.txt", kFile);
    drive.Add("Docs\\.lnk", kFile); // dot names are skipped by the walk
    drive.Add("lnk", kFile);
    drive.Add("Folder.lnk\\a.txt", kFile); // a folder with a shortcut's name is walked, not judged
    std::vector<ScanRow> rows;
    std::vector<std::string> judged;
    DriveWalkHooks hooks = drive.Hooks(rows);
    hooks.examineShortcut = [&](const std::string& path) {
        judged.push_back(path);
        rows.push_back(MakeScanRow(path, kKindFile, "shortcut worm."));
    };
    WalkRemovableDrive("E:\\", hooks);
    std::sort(judged.begin(), judged.end());
    EXPECT_EQ(judged, (std::vector<std::string>{"E:\\Docs\\Report.LNK", "E:\\Photos.lnk"}));
    EXPECT_EQ(rows.size(), 2u) << "the rows the hook adds are the only ones";
}

TEST(DriveWalk, EmptyOrUnlistableDrive) {
    FakeDrive empty;
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    WalkRemovableDrive("E:\\", empty.Hooks(rows, &statuses));
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(statuses.empty());
    EXPECT_EQ(empty.listed, std::vector<std::string>{"E:\\"});

    FakeDrive gone;
    gone.Add("x.exe", kHidden);
    gone.Unlistable("");
    WalkRemovableDrive("E:\\", gone.Hooks(rows));
    EXPECT_TRUE(rows.empty());
}

TEST(DriveWalk, DepthFirstInListingOrderWithStatusPerFile) {
    FakeDrive drive;
    drive.Add("a.exe", kHidden);
    drive.Add("Sub\\Deep\\x.inf", kHidden);
    drive.Add("Sub\\Sub .exe", kFile);
    drive.Add("Sub\\y.bat", kHidden);
    drive.Add("Sub\\notes.txt", kFile);
    drive.Add("z.cmd", kHidden);
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    WalkRemovableDrive("E:\\", drive.Hooks(rows, &statuses));
    EXPECT_EQ(rows, (std::vector<ScanRow>{Suspicious("E:\\a.exe"), FolderNamed("E:\\Sub\\Sub .exe"),
                                          Suspicious("E:\\Sub\\Deep\\x.inf"), Suspicious("E:\\Sub\\y.bat"),
                                          Suspicious("E:\\z.cmd")}));
    EXPECT_EQ(statuses,
              (std::vector<std::string>{" Analyzing >>  E:\\a.exe", " Analyzing >>  E:\\Sub\\Deep\\x.inf",
                                        " Analyzing >>  E:\\Sub\\Sub .exe", " Analyzing >>  E:\\Sub\\y.bat",
                                        " Analyzing >>  E:\\Sub\\notes.txt", " Analyzing >>  E:\\z.cmd"}));
}

// A tree "E:\dir1\dir2\...\" of the given depth with a hidden x.exe and the folder-named
// executable at every level. Each level adds five characters, so the lister finds the depth from the
// length of the folder's path without storing the tree.
struct DeepTree {
    explicit DeepTree(std::size_t depth) : depth(depth) {}
    std::size_t depth;

    DriveWalkHooks Hooks(std::vector<ScanRow>& rows, std::vector<std::string>* statuses = nullptr) const {
        DriveWalkHooks hooks;
        const std::size_t maxDepth = depth;
        hooks.list = [maxDepth](const std::string& folder) -> std::optional<std::vector<DirectoryEntry>> {
            const std::size_t level = (folder.size() - 3) / 5;
            std::vector<DirectoryEntry> entries = {{"x.exe", kHidden}};
            if (level > 0) entries.push_back({Name(level) + " .exe", kFile});
            if (level < maxDepth) entries.push_back({Name(level + 1), kFolder});
            return entries;
        };
        hooks.fileExists = [](const std::string&) { return true; };
        hooks.addRow = [&rows](const ScanRow& row) { rows.push_back(row); };
        if (statuses) hooks.showStatus = [statuses](const std::string& text) { statuses->push_back(text); };
        return hooks;
    }
    static std::string Name(std::size_t level) { return "dir" + std::to_string(level % 10); }
};

TEST(DriveWalk, AFileWhosePathDoesNotFitARowGivesNone) {
    // "E:\" + two folders of 200 + a 106-character name: 511 characters exactly.
    const std::string folders = std::string(200, 'a') + "\\" + std::string(200, 'b') + "\\";
    const std::string mine = folders + std::string(102, 'm') + ".exe"; // the user's own file
    const std::string fits = folders + std::string(102, 'h') + ".exe";
    FakeDrive drive;
    drive.Add(mine, kFile);
    drive.Add(fits, kHidden);
    // Cut to 511 characters, both would read as the user's file, and as one row twice.
    drive.Add(mine + ".vbs", kHidden);
    drive.Add(mine + ".js", kHidden);
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    WalkRemovableDrive("E:\\", drive.Hooks(rows, &statuses));
    ASSERT_EQ(("E:\\" + fits).size(), 511u);
    EXPECT_EQ(rows, std::vector<ScanRow>{Suspicious("E:\\" + fits)});
    EXPECT_EQ(statuses.size(), 4u); // every file is still examined
}

TEST(DriveWalk, TwoHundredLevelsWithPathsBeyond511Characters) {
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    WalkRemovableDrive("E:\\", DeepTree(200).Hooks(rows, &statuses));
    // Each level adds 5 characters: "dirN\". The folder-named executable and the hidden files are
    // listed while their paths fit a list text: a cut text would name another file.
    std::vector<ScanRow> expected = {Suspicious("E:\\x.exe")};
    std::string folder = "E:\\";
    for (int level = 1; level <= 200; ++level) {
        const std::string name = "dir" + std::to_string(level % 10);
        folder += name + "\\";
        const std::string exe = folder + name + " .exe";
        if (exe.size() <= 511) expected.push_back(FolderNamed(exe));
        if (folder.size() + 5 <= 511) expected.push_back(Suspicious(folder + "x.exe"));
    }
    EXPECT_EQ(rows, expected);
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back().size(), 511u);
    EXPECT_GT(folder.size(), 1000u);
}

TEST(DriveWalk, DepthDoesNotUseTheCallStack) {
    // 3,000 levels on a thread with a small stack: one call frame per level would not fit.
    const DeepTree tree(3000);
    std::vector<ScanRow> rows;
    struct Job {
        const DeepTree* tree;
        std::vector<ScanRow>* rows;
    } job{&tree, &rows};
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 128 * 1024), 0);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* p) -> void* {
                      Job* j = static_cast<Job*>(p);
                      WalkRemovableDrive("E:\\", j->tree->Hooks(*j->rows));
                      return nullptr;
                  },
                  &job),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    // x.exe at the root and at every level while "E:\" + 5 per level + "x.exe" fits 511; the folder
    // executables while "E:\" + 5 per level + "dirN .exe" fits.
    std::size_t fitting = 0;
    for (std::size_t level = 0; 3 + 5 * level + 5 <= 511; ++level)
        ++fitting;
    for (std::size_t level = 1; 3 + 5 * level + 9 <= 511; ++level)
        ++fitting;
    EXPECT_EQ(rows.size(), fitting);
}

TEST(DriveWalkRules, ListedExtensionsInTheirComparisonOrder) {
    std::string literal =
        "*.vmx*.exe*.com*.dll*.html*.bat*.inf*.pif*.reg*.lnk*.scr*.asp*.js*.vbs*.wsf*.wsh*.aspx"
        "*.htt*.htm*.hts*.jsp*.jse*.vb*.vbe*.cmd*.hta";
    std::vector<std::string> patterns;
    for (std::size_t star = 0; star != std::string::npos;) {
        const std::size_t next = literal.find('*', star + 1);
        patterns.push_back(
            ToUpperAscii(literal.substr(star, next == std::string::npos ? next : next - star)));
        star = next;
    }
    ASSERT_EQ(patterns.size(), kListedExtensions.size());
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        EXPECT_EQ(kListedExtensions[i], patterns[i]);
        EXPECT_TRUE(HasListedExtension("file" + patterns[i].substr(1)));
    }
}

TEST(DriveWalkRules, ExtensionPatternFromTheLastDot) {
    EXPECT_EQ(ExtensionPattern("archive.tar.exe"), "*.EXE");
    EXPECT_EQ(ExtensionPattern("a.Js"), "*.JS");
    EXPECT_EQ(ExtensionPattern("README"), "");
    EXPECT_EQ(ExtensionPattern("x."), "*.");
    EXPECT_EQ(FolderExecutablePath("E:\\Docs\\", "Docs"), "E:\\Docs\\Docs .exe");
}

} // namespace
} // namespace tollivar
