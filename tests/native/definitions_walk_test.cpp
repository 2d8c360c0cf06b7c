#include "engine/definitions_walk.h"
#include "engine/process_text.h"
#include "engine/profile_text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tollivar {
namespace {

// A machine for the walk: def.uas text, environment, files on disk and running processes.
class DefinitionScan : public testing::Test {
  protected:
    std::map<std::string, std::string> environment = {
        {"WINDIR", "C:\\WINDOWS"}, {"TEMP", "C:\\TEMP"}, {"A", "C:\\a"}};
    std::set<std::string> files = {"C:\\WINDOWS\\x.exe", "C:\\TEMP\\x.exe", "C:\\x.exe", "C:\\a\\%B%\\x.exe"};
    std::vector<ProcessEntry> processes = {
        {0x4, "System"}, {0x1A4, "Virus.EXE"}, {0x2B0, "notepad.exe"}, {0x2C0, "notepad.exe"}};
    std::set<std::uint32_t> unopenable;

    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    std::vector<std::string> existenceTests;
    std::vector<std::string> processLookups;

    void Run(const std::string& defUas) { Run(ProfileText::Parse(defUas)); }

    void Run(const ProfileText& definitions) {
        Run([&](const std::string& s, const std::string& k) { return definitions.Read(s, k); });
    }

    void Run(ProfileReader reader) {
        const ProcessSnapshot snapshot(processes);
        DefinitionScanHooks hooks;
        hooks.read = std::move(reader);
        hooks.environment = [&](const std::string& name) -> std::optional<std::string> {
            const auto v = environment.find(name);
            if (v == environment.end()) return std::nullopt;
            return v->second;
        };
        hooks.fileExists = [&](const std::string& path) {
            existenceTests.push_back(path);
            return files.count(path) != 0;
        };
        hooks.findProcess = [&](const std::string& name) {
            processLookups.push_back(name);
            return snapshot.FindProcessText(
                name, [&](const ProcessEntry& e) { return !unopenable.count(e.processId); });
        };
        hooks.showStatus = [&](const std::string& text) { statuses.push_back(text); };
        hooks.addRow = [&](const ScanRow& row) { rows.push_back(row); };
        RunDefinitionScan(hooks);
    }
};

TEST_F(DefinitionScan, ProcessesThenFilesOfEachThreatInNumberOrder) {
    Run("[INFO]\nVersion=12\n"
        "[1]\nTh=Worm.One\nP1=virus.exe\nF1=%WINDIR%\\x.exe\n"
        "[2]\nTh=Worm.Two\nF1=C:\\x.exe\nF2=C:\\missing.exe\nF3=D:\\%TEMP%\\x.exe\nP1=nothing.exe\n");
    const std::vector<ScanRow> expected = {
        {"[1A4] - Virus.EXE", "P", "Worm.One"},
        {"C:\\WINDOWS\\x.exe", "F", "Worm.One"},
        {"C:\\x.exe", "F", "Worm.Two"},
        {"C:\\TEMP\\x.exe", "F", "Worm.Two"},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(statuses, (std::vector<std::string>{" Analyzing >>  Worm.One", " Analyzing >>  Worm.Two",
                                                  " Analyzing >>  Seeking..."}));
}

TEST_F(DefinitionScan, WalkEndsAtTheFirstThreatWithoutName) {
    // Threat 4 after the gap, and threat 3 after an empty name, are never read.
    Run("[1]\nTh=One\nF1=C:\\x.exe\n[2]\nTh=Two\n[4]\nTh=Four\nF1=C:\\x.exe\n");
    EXPECT_EQ(rows, (std::vector<ScanRow>{{"C:\\x.exe", "F", "One"}}));
    rows.clear();
    statuses.clear();
    Run("[1]\nTh=One\n[2]\nTh=\nF1=C:\\x.exe\n[3]\nTh=Three\nF1=C:\\x.exe\n");
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(statuses, (std::vector<std::string>{" Analyzing >>  One", " Analyzing >>  Seeking..."}));
}

TEST_F(DefinitionScan, EntriesEndAtTheFirstMissingNumber) {
    // "P1" and "P3" without "P2"; "F1" missing while "F2" is there.
    Run("[1]\nTh=One\nP1=a.exe\nP3=virus.exe\nF2=C:\\x.exe\n");
    EXPECT_EQ(processLookups, (std::vector<std::string>{"a.exe"}));
    EXPECT_TRUE(existenceTests.empty());
    EXPECT_TRUE(rows.empty());
}

TEST_F(DefinitionScan, NamesInLowerCaseAreFound) {
    files.insert("c:\\x.exe");
    Run("[info]\nversion=1\n[1]\nth=Lower\np1=VIRUS.exe\nf1=c:\\x.exe\n");
    EXPECT_EQ(rows, (std::vector<ScanRow>{{"[1A4] - Virus.EXE", "P", "Lower"}, {"c:\\x.exe", "F", "Lower"}}));
}

TEST_F(DefinitionScan, SameFileUnderTwoThreatsGivesTwoRows) {
    Run("[1]\nTh=One\nF1=%WINDIR%\\x.exe\n[2]\nTh=Two\nF1=C:\\WINDOWS\\x.exe\n");
    EXPECT_EQ(rows,
              (std::vector<ScanRow>{{"C:\\WINDOWS\\x.exe", "F", "One"}, {"C:\\WINDOWS\\x.exe", "F", "Two"}}));
}

struct FileEntryCase {
    const char* value;
    const char* testedPath; // nullptr: nothing is tested
};

class FileEntries : public DefinitionScan, public testing::WithParamInterface<FileEntryCase> {};

TEST_P(FileEntries, ResolvedAsTheOneReferenceRuleSays) {
    const FileEntryCase& c = GetParam();
    files.insert(c.testedPath ? c.testedPath : "never");
    Run(std::string("[1]\nTh=T\nF1=") + c.value + "\n");
    if (c.testedPath == nullptr) {
        EXPECT_TRUE(existenceTests.empty());
        EXPECT_TRUE(rows.empty());
        return;
    }
    EXPECT_EQ(existenceTests, (std::vector<std::string>{c.testedPath}));
    EXPECT_EQ(rows, (std::vector<ScanRow>{{c.testedPath, "F", "T"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FileEntries,
    testing::Values(FileEntryCase{"%WINDIR%\\system32\\x.exe", "C:\\WINDOWS\\system32\\x.exe"},
                    FileEntryCase{"C:\\x.exe", "C:\\x.exe"},
                    FileEntryCase{"D:\\%TEMP%\\x.exe", "C:\\TEMP\\x.exe"},
                    FileEntryCase{"%A%\\%B%\\x.exe", "C:\\a\\%B%\\x.exe"},
                    FileEntryCase{"%TEMP%%A%", "C:\\TEMP%A%"},
                    FileEntryCase{"\"%TEMP%\\q.exe\"", "C:\\TEMP\\q.exe"},
                    // An undefined variable, an empty name or an unclosed "%" names no file.
                    FileEntryCase{"%NOPE%\\x.exe", nullptr}, FileEntryCase{"%%\\x.exe", nullptr},
                    FileEntryCase{"C:\\50%\\x.exe", nullptr}));

TEST_F(DefinitionScan, ProcessEntriesMatchWholeNamesWithoutRegardToCase) {
    unopenable.insert(0x2B0); // the first notepad.exe belongs to someone else
    Run("[1]\nTh=T\nP1=NOTEPAD.EXE\nP2=C:\\WINDOWS\\notepad.exe\nP3=notepad\nP4=*.exe\nP5=virus.exe\n");
    EXPECT_EQ(rows,
              (std::vector<ScanRow>{{"[2C0] - notepad.exe", "P", "T"}, {"[1A4] - Virus.EXE", "P", "T"}}));
    EXPECT_EQ(processLookups.size(), 5u);
}

TEST_F(DefinitionScan, MissingOrEmptyFileGivesOnlyTheSeekingText) {
    for (const char* text : {"", "[INFO]\nVersion=1\n", "[1]\nP1=virus.exe\n"}) {
        rows.clear();
        statuses.clear();
        Run(text);
        EXPECT_TRUE(rows.empty()) << text;
        EXPECT_EQ(statuses, (std::vector<std::string>{" Analyzing >>  Seeking..."})) << text;
    }
}

TEST_F(DefinitionScan, ValuesOver511CharactersAreCutWhateverTheReaderHands) {
    // A reader that does not cut, to show the walk holds the 512-byte rule itself.
    const std::string longName(600, 'N');
    const std::string longImage(600, 'i');
    const std::string longPath = "C:\\" + std::string(597, 'p');
    files.insert(longPath.substr(0, 511));
    Run([&](const std::string& section, const std::string& key) -> std::string {
        if (section != "1") return "";
        if (key == "Th") return longName;
        if (key == "P1") return longImage;
        if (key == "F1") return longPath;
        return "";
    });
    EXPECT_EQ(processLookups, (std::vector<std::string>{longImage.substr(0, 511)}));
    EXPECT_EQ(existenceTests, (std::vector<std::string>{longPath.substr(0, 511)}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].identification, longName.substr(0, 511));
    EXPECT_EQ(statuses.front().size(), 511u);
}

TEST_F(DefinitionScan, LongExpansionTestedWholeAndListedCut) {
    environment["DEEP"] = "C:\\" + std::string(600, 'd');
    const std::string full = environment["DEEP"] + "\\x.exe";
    files.insert(full);
    Run("[1]\nTh=T\nF1=%DEEP%\\x.exe\n");
    EXPECT_EQ(existenceTests, (std::vector<std::string>{full}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].infection, full.substr(0, 511));
}

TEST_F(DefinitionScan, TenThousandThreatsReadEachKeyOnce) {
    std::string text = "[INFO]\nVersion=big\n";
    for (int k = 1; k <= 10000; ++k) {
        const std::string n = std::to_string(k);
        text += "[" + n + "]\nTh=Threat." + n + "\nP1=p" + n + "a.exe\nP2=p" + n + "b.exe\nF1=%TEMP%\\f" + n +
                "a.exe\nF2=C:\\f" + n + "b.exe\n";
    }
    files.insert("C:\\TEMP\\f5000a.exe");
    processes.push_back({0x99, "P10000B.EXE"});
    const ProfileText definitions = ProfileText::Parse(text);
    std::size_t reads = 0;
    Run([&](const std::string& s, const std::string& k) {
        ++reads;
        return definitions.Read(s, k);
    });
    // Per threat: "Th", two "P", the ending "P3", two "F", the ending "F3"; then the missing threat.
    EXPECT_EQ(reads, 10000u * 7u + 1u);
    EXPECT_EQ(rows, (std::vector<ScanRow>{{"C:\\TEMP\\f5000a.exe", "F", "Threat.5000"},
                                          {"[99] - P10000B.EXE", "P", "Threat.10000"}}));
    EXPECT_EQ(statuses.size(), 10001u);
}

} // namespace
} // namespace tollivar
