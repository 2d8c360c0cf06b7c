#include "engine/listed_existence.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tollivar {
namespace {

TEST(SplitPlainPath, OnlyPathsAListingCanDecide) {
    struct Case {
        const char* path;
        const char* folder; // nullptr: not plain
        const char* name;
    } cases[] = {
        {"C:\\Windows\\x.exe", "C:\\Windows\\", "x.exe"},
        {"e:\\a b\\c d.exe", "e:\\a b\\", "c d.exe"},
        {"C:\\x.exe", "C:\\", "x.exe"},
        {"x.exe", nullptr, nullptr},              // searched along the path
        {"\\\\server\\share\\x.exe", nullptr, nullptr},
        {"C:x.exe", nullptr, nullptr},
        {"C:\\a/b.exe", nullptr, nullptr},
        {"C:\\a\\..\\b.exe", nullptr, nullptr},
        {"C:\\a\\.\\b.exe", nullptr, nullptr},
        {"C:\\a\\\\b.exe", nullptr, nullptr},
        {"C:\\a.\\b.exe", nullptr, nullptr},      // the platform drops trailing dots
        {"C:\\a\\b.exe ", nullptr, nullptr},      // and trailing blanks
        {"C:\\a\\*.exe", nullptr, nullptr},
        {"C:\\a\\b.exe:stream", nullptr, nullptr},
        {"C:\\a\\\xe9t\xe9.exe", nullptr, nullptr}, // case rules beyond ASCII are the file system's
        {"C:\\a\\", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        std::string folder, name;
        const bool plain = SplitPlainPath(c.path, folder, name);
        EXPECT_EQ(plain, c.folder != nullptr) << c.path;
        if (plain && c.folder) {
            EXPECT_EQ(folder, c.folder) << c.path;
            EXPECT_EQ(name, c.name) << c.path;
        }
    }
}

class ListedExistenceTest : public testing::Test {
  protected:
    ListedExistence Make() {
        return ListedExistence(
            [this](const std::string& folder) {
                ++listings[folder];
                auto it = tree.find(folder);
                return it == tree.end() ? FolderNames{FolderNames::Outcome::Missing, {}} : it->second;
            },
            [this](const std::string& path) {
                realTests.push_back(path);
                return openable.count(path) > 0;
            });
    }
    std::map<std::string, FolderNames> tree;
    std::set<std::string> openable;
    std::map<std::string, int> listings;
    std::vector<std::string> realTests;
};

TEST_F(ListedExistenceTest, AbsentNamesNeedNoOpenAndEachFolderIsListedOnce) {
    tree["C:\\T\\"] = {FolderNames::Outcome::Listed, {"Worm.EXE", "PROGRA~1.EXE", "Locked.exe", "sub"}};
    openable = {"C:\\T\\worm.exe", "C:\\T\\progra~1.exe"};
    ListedExistence exists = Make();
    EXPECT_TRUE(exists("C:\\T\\worm.exe"));      // listed in another case: the real test decides
    EXPECT_TRUE(exists("C:\\T\\progra~1.exe"));  // a short name is a name too
    EXPECT_FALSE(exists("C:\\T\\Locked.exe"));   // listed, but it does not open
    EXPECT_FALSE(exists("C:\\T\\sub"));          // a folder is never a file
    EXPECT_FALSE(exists("C:\\T\\absent.exe"));
    EXPECT_FALSE(exists("c:\\t\\other.exe"));
    EXPECT_FALSE(exists("C:\\Missing\\x.exe"));
    EXPECT_FALSE(exists("C:\\Missing\\y.exe"));
    EXPECT_EQ(listings["C:\\T\\"], 1);
    EXPECT_EQ(listings["C:\\Missing\\"], 1);
    EXPECT_EQ(realTests, (std::vector<std::string>{"C:\\T\\worm.exe", "C:\\T\\progra~1.exe", "C:\\T\\Locked.exe",
                                                   "C:\\T\\sub"}));
}

TEST_F(ListedExistenceTest, WhatAListingCannotDecideGoesToTheRealTest) {
    tree["C:\\Denied\\"] = {FolderNames::Outcome::Unknown, {}};
    openable = {"C:\\Denied\\x.exe", "notepad.exe", "C:\\a\\..\\T\\y.exe"};
    ListedExistence exists = Make();
    EXPECT_TRUE(exists("C:\\Denied\\x.exe"));
    EXPECT_FALSE(exists("C:\\Denied\\z.exe"));
    EXPECT_TRUE(exists("notepad.exe"));
    EXPECT_TRUE(exists("C:\\a\\..\\T\\y.exe"));
    EXPECT_EQ(realTests.size(), 4u);
}

} // namespace
} // namespace tollivar
