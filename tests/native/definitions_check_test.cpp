// The update program's checks on a new def.uas: version rule, readability, and the decision.
#include <gtest/gtest.h>

#include <string>

#include "updater/definitions_check.h"
#include "test_computer.h"

namespace tollivar {
namespace {

TEST(DefinitionsVersionTest, ParsesNumbersAndDotsOnly) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"2026.12.1", true}, {"7", true},          {"0.0.1", true},    {"2026.012.1", true},
        {"", false},         {"2026.", false},     {".1", false},      {"2026..1", false},
        {"v2026", false},    {"2026.12.1b", false}, {"1 2", false},    {"-1", false},
        {"1234567890", false}, // too many digits for one number: refused, not wrapped round
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDefinitionsVersion(c.text).has_value(), c.valid) << c.text;
}

TEST(DefinitionsVersionTest, ComparesNumberByNumber) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"2026.12.10", "2026.12.9", 1}, // numbers, not texts: 10 > 9
        {"2027.1", "2026.12.31", 1},
        {"2026.12", "2026.12.0", 0},    // a missing number counts as 0
        {"2026.12", "2026.12.1", -1},
        {"2026.012", "2026.12", 0},     // leading zeros do not count
        {"9", "10", -1},
    };
    for (const auto& c : cases) {
        const int order = CompareDefinitionsVersions(*ParseDefinitionsVersion(c.a), *ParseDefinitionsVersion(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    }
}

constexpr char kGood[] = "[INFO]\r\nVersion=2026.12.1\r\n\r\n[1]\r\nTh=Worm.One\r\nP1=one.exe\r\nF1=%APPDATA%\\one.exe\r\n"
                         "[2]\r\nTh=Worm.Two\r\n";

TEST(DefinitionsCheckTest, AReadableFileGivesItsVersionAndThreatCount) {
    const DefinitionsCheck check = CheckDefinitionsText(kGood, TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
    EXPECT_EQ(check.version, "2026.12.1");
    EXPECT_EQ(check.threats, 2u);
}

TEST(DefinitionsCheckTest, ReadsLikeTheProgram) {
    // Lower-case names, blanks and quotes around the version, comments: all as the profile reader reads them.
    const DefinitionsCheck check =
        CheckDefinitionsText("; comment\n[ info ]\n version = \"2027.1\" \n[1]\nth=A\np1=a.exe\n", TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
    EXPECT_EQ(check.version, "2027.1");
    EXPECT_EQ(check.threats, 1u);
}

// An executable's first bytes, followed by what would otherwise be a readable file.
constexpr char kBinary[] = "MZ\x90\0\x03\0\0\0[INFO]\nVersion=9\n[1]\nTh=A\n";

TEST(DefinitionsCheckTest, RefusesWhatTheProgramCannotUse) {
    const struct {
        const char* name;
        std::string text;
        DefinitionsProblem problem;
    } cases[] = {
        {"empty", "", DefinitionsProblem::Empty},
        {"binary", std::string(kBinary, sizeof kBinary - 1), DefinitionsProblem::NotText},
        {"no version", "[INFO]\n[1]\nTh=A\n", DefinitionsProblem::NoVersion},
        {"version elsewhere", "[1]\nTh=A\nVersion=9\n", DefinitionsProblem::NoVersion},
        {"text version", "[INFO]\nVersion=December\n[1]\nTh=A\n", DefinitionsProblem::BadVersion},
        {"no threats", "[INFO]\nVersion=9\n", DefinitionsProblem::NoThreats},
        {"threat 1 unnamed", "[INFO]\nVersion=9\n[1]\nTh=\nP1=a.exe\n[2]\nTh=B\n", DefinitionsProblem::NoThreats},
        {"gap", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nTh=B\n[4]\nTh=D\n", DefinitionsProblem::UnreachableThreat},
        {"unnamed middle", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nP1=b.exe\n[3]\nTh=C\n", DefinitionsProblem::UnreachableThreat},
        {"leading zero", "[INFO]\nVersion=9\n[1]\nTh=A\n[02]\nTh=B\n", DefinitionsProblem::UnreachableThreat},
        {"threat 0", "[INFO]\nVersion=9\n[0]\nTh=Z\n[1]\nTh=A\n", DefinitionsProblem::UnreachableThreat},
        {"process path", "[INFO]\nVersion=9\n[1]\nTh=A\nP1=C:\\bad\\a.exe\n", DefinitionsProblem::ProcessWithFolder},
        {"system process", "[INFO]\nVersion=9\n[1]\nTh=A\nP1=a.exe\nP2=SvcHost.exe\n", DefinitionsProblem::ProtectedProcess},
        {"own process", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nTh=B\nP1=tollguard.exe\n", DefinitionsProblem::ProtectedProcess},
        {"too large", "[INFO]\nVersion=9\n[1]\nTh=A\n" + std::string(kMaxDefinitionsFileSize, ' '),
         DefinitionsProblem::TooLarge},
    };
    for (const auto& c : cases) {
        const DefinitionsCheck check = CheckDefinitionsText(c.text, TestComputer());
        EXPECT_EQ(check.problem, c.problem) << c.name;
        EXPECT_FALSE(DescribeProblem(check).empty()) << c.name;
    }
}

TEST(DefinitionsCheckTest, EntriesAfterTheirListEndsAreNotChecked) {
    // The scan stops at P1 missing, so a P2 it never reads cannot harm anything.
    const DefinitionsCheck check = CheckDefinitionsText("[INFO]\nVersion=9\n[1]\nTh=A\nP2=svchost.exe\n", TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
}

TEST(UpdateDecisionTest, ReplacesOnlyWithANewerReadableFile) {
    const std::string installed = "[INFO]\r\nVersion=2026.12.1\r\n[1]\r\nTh=A\r\n";
    const auto file = [](const char* version) { return std::string("[INFO]\nVersion=") + version + "\n[1]\nTh=A\n"; };
    const struct {
        const char* name;
        std::string installed;
        std::string candidate;
        UpdateVerdict verdict;
    } cases[] = {
        {"newer", installed, file("2026.12.2"), UpdateVerdict::Replace},
        {"newer by number", installed, file("2026.12.10"), UpdateVerdict::Replace},
        {"same", installed, file("2026.12.1"), UpdateVerdict::SameVersion},
        {"same written longer", installed, file("2026.12.1.0"), UpdateVerdict::SameVersion},
        {"older", installed, file("2026.9.30"), UpdateVerdict::Older},
        {"unreadable", installed, "[INFO]\nVersion=2030\n", UpdateVerdict::Unreadable},
        {"nothing installed", "", file("1"), UpdateVerdict::Replace},
        {"installed without version", "[1]\nTh=A\n", file("1"), UpdateVerdict::Replace},
        {"installed with a text version", "[INFO]\nVersion=beta\n", file("1"), UpdateVerdict::Replace},
        {"unreadable with nothing installed", "", "garbage", UpdateVerdict::Unreadable},
    };
    for (const auto& c : cases) {
        const UpdateDecision decision = DecideUpdate(c.installed, c.candidate, TestComputer());
        EXPECT_EQ(decision.verdict, c.verdict) << c.name;
        EXPECT_FALSE(DescribeDecision(decision).empty()) << c.name;
    }
}

TEST(UpdateDecisionTest, TellsBothVersions) {
    const UpdateDecision decision =
        DecideUpdate("[INFO]\nVersion=2026.12.1\n[1]\nTh=A\n", "[INFO]\nVersion=2027.2\n[1]\nTh=A\n[2]\nTh=B\n", TestComputer());
    ASSERT_EQ(decision.verdict, UpdateVerdict::Replace);
    const std::string text = DescribeDecision(decision);
    EXPECT_NE(text.find("2026.12.1"), std::string::npos) << text;
    EXPECT_NE(text.find("2027.2 (2 threats)"), std::string::npos) << text;
    EXPECT_EQ(decision.installedVersion, "2026.12.1");
}

} // namespace
} // namespace tollivar
