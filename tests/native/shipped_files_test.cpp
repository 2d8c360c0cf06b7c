// The files the installer lays out: the definitions, the settings, the two helpers in bin\ and the
// help pages, read from the source tree exactly as they ship.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/text_rules.h"
#include "engine/profile_text.h"
#include "heal/script_host_command.h"
#include "updater/definitions_check.h"
#include "script_host_rendition.h"
#include "test_computer.h"

namespace tollivar {
namespace {

std::string Shipped(const std::string& relative) {
    std::ifstream in(std::string(TOLLIVAR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Every line ends in CR LF, as cmd.exe and regedit.exe expect.
bool HasWindowsLineEnds(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    return !text.empty() && text.back() == '\n';
}

TEST(ShippedDefinitionsTest, AreReadableAndNameNoLegitimateProgram) {
    const std::string text = Shipped("data/def.uas");
    const DefinitionsCheck check = CheckDefinitionsText(text, TestComputer());
    ASSERT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
    EXPECT_GE(check.threats, 3u);

    // Image names that ordinary Windows installations run: the definitions must never match them.
    const char* legitimate[] = {"cmd.exe",      "conhost.exe",  "rundll32.exe", "regsvr32.exe", "wscript.exe",
                                "cscript.exe",  "mshta.exe",    "notepad.exe",  "powershell.exe", "taskhostw.exe",
                                "svchost.exe",  "explorer.exe", "lsass.exe",    "csrss.exe",    "winlogon.exe",
                                "services.exe", "smss.exe",     "wininit.exe",  "spoolsv.exe",  "dllhost.exe",
                                "msiexec.exe",  "autorun.exe",  "setup.exe",    "update.exe",   "tollguard.exe"};
    const ProfileText profile = ProfileText::Parse(text);
    for (std::size_t n = 1; n <= check.threats; ++n) {
        const std::string section = std::to_string(n);
        for (int p = 1; !profile.Read(section, "P" + std::to_string(p)).empty(); ++p) {
            const std::string image = ToUpperAscii(profile.Read(section, "P" + std::to_string(p)));
            for (const char* name : legitimate) EXPECT_NE(image, ToUpperAscii(name)) << "threat " << n;
        }
        int files = 0;
        for (int f = 1;; ++f) {
            const std::string path = profile.Read(section, "F" + std::to_string(f));
            if (path.empty()) break;
            ++files;
            // One environment reference first, so the path fits every Windows installation.
            EXPECT_EQ(path.front(), '%') << path;
            EXPECT_NE(path.find('%', 1), std::string::npos) << path;
            const std::string name = ToUpperAscii(path.substr(path.find_last_of('\\') + 1));
            for (const char* legit : legitimate) EXPECT_NE(name, ToUpperAscii(legit)) << path;
        }
        EXPECT_GT(files, 0) << "threat " << n << " names no file";
    }
}

TEST(ShippedSettingsTest, GiveTheDefaultsAndTheRunKey) {
    const ProfileText settings = ProfileText::Parse(Shipped("data/settings.ini"));
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {
        {"SCAN", "LD", "1"},       {"SCAN", "RM", "1"},       // both scan areas
        {"SCAN", "ST", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {"SETTINGS", "S1", "0"},   {"SETTINGS", "S2", "1"},   // splash on
        {"SETTINGS", "S3", "1"},   {"SETTINGS", "S4", "1"},   // alert on, quarantine
        {"SETTINGS", "S5", "0"},   {"TRAY", "1", "0"},
    };
    for (const auto& e : expected) EXPECT_EQ(settings.Read(e.section, e.key), e.value) << e.section << "/" << e.key;
}

TEST(ShippedHelpersTest, OnlySetValuesAndDeleteNothing) {
    const std::string reg = Shipped("data/bin/unstart.reg");
    ASSERT_TRUE(HasWindowsLineEnds(reg));
    const auto regLines = Lines(reg);
    ASSERT_FALSE(regLines.empty());
    EXPECT_EQ(regLines.front(), "Windows Registry Editor Version 5.00");
    int values = 0;
    for (const auto& line : regLines) {
        if (line.empty() || line.front() == ';' || line == regLines.front()) continue;
        if (line.front() == '[') {
            EXPECT_NE(line[1], '-') << "deletes a key: " << line;
            const bool autoRunKey = line.find("\\Policies\\Explorer]") != std::string::npos ||
                                    line.find("\\Explorer\\AutoplayHandlers]") != std::string::npos;
            EXPECT_TRUE(autoRunKey) << "a key that has nothing to do with AutoRun: " << line;
            continue;
        }
        EXPECT_EQ(line.find("=-"), std::string::npos) << "deletes a value: " << line;
        EXPECT_NE(line.find("=dword:"), std::string::npos) << line;
        ++values;
    }
    EXPECT_GT(values, 0);

    const std::string bat = Shipped("data/bin/unscript.bat");
    ASSERT_TRUE(HasWindowsLineEnds(bat));
    const char* destructive[] = {"DEL ", "ERASE ", "RD ", "RMDIR ", "REG DELETE", "REMOVE-ITEM", "FORMAT ", "ATTRIB "};
    for (const auto& line : Lines(bat)) {
        const std::string upper = ToUpperAscii(line);
        if (upper.rfind("REM ", 0) == 0 || upper == "REM") continue;
        for (const char* word : destructive) EXPECT_EQ(upper.find(word), std::string::npos) << line;
        // Only script hosts are ended, and only those running from a removable drive.
        if (upper.find("STOP-PROCESS") != std::string::npos) {
            EXPECT_NE(upper.find("DRIVETYPE=2"), std::string::npos) << line;
            EXPECT_NE(upper.find("WSCRIPT.EXE"), std::string::npos) << line;
        }
    }
}

// The PowerShell line of unscript.bat reads a script host's command line as ScriptArgument does:
// its filter is exactly the one the rendition follows, with the rule's own patterns.
TEST(ShippedHelpersTest, UnscriptFilterIsTheScriptHostRule) {
    const std::string filter =
        std::string("Where-Object { $words = @([regex]::Matches([string]$_.CommandLine, '") + kCommandWordPattern +
        R"(') | ForEach-Object { $_.Value -replace '\x22', '' }); $target = @($words | Select-Object -Skip 1 | )"
        R"(Where-Object { -not $_.StartsWith('//') } | Select-Object -First 1 | ForEach-Object { $_ -replace ')" +
        kDevicePrefixPattern +
        R"(', '' }); $target.Count -eq 1 -and $target[0] -match '^[A-Za-z]:' -and $drives -contains )"
        R"($target[0].Substring(0, 2) } | ForEach-Object { Stop-Process)";
    const std::string bat = Shipped("data/bin/unscript.bat");
    EXPECT_NE(bat.find(filter), std::string::npos) << "unscript.bat reads command lines another way";
    EXPECT_NE(bat.find("ForEach-Object { $_.DeviceID.ToUpper() })"), std::string::npos) << "drives as \"E:\"";
    // A double quote inside the quoted -Command would end it early in cmd.exe.
    for (const auto& line : Lines(bat))
        if (line.find("-Command \"") != std::string::npos) {
            EXPECT_EQ(std::count(line.begin(), line.end(), '"'), 4) << line;
        }
}

// Which script hosts unscript.bat ends: only those whose script lies on a removable drive (E: and G:
// here), whatever else their command line names. Both the C++ rule and the PowerShell line decide.
TEST(ScriptHostCommandTest, EndsOnlyHostsWhoseScriptIsOnAStick) {
    const std::vector<std::string> sticks = {"E:", "G:"};
    const struct {
        const char* commandLine;
        bool ends;
    } cases[] = {
        {R"("C:\Windows\System32\wscript.exe" "E:\autorun.vbs")", true},
        {R"(wscript.exe //B //E:vbscript "E:\x.vbs")", true},
        {R"(C:\Windows\System32\cscript.exe //NoLogo C:\tools\copy.vbs E:\backup)", false}, // E:\ is an argument
        {R"(wscript.exe C:\a.vbs "E:\b.vbs")", false},
        {R"(mshta.exe "E:\x.hta")", true},
        {R"(mshta.exe G:\x.hta)", true},
        {R"(mshta.exe vbscript:Execute("CreateObject(""WScript.Shell"").Run ""E:\x.exe"""))", false}, // no file
        {R"(wscript.exe "e:\Dir With Blanks\run.vbs" /arg)", true},
        {"wscript.exe\t\"G:\\x.vbs\"", true},
        {R"("C:\Program Files\Hosts\wscript.exe" E:\x.vbs)", true},
        {R"(wscript.exe \\?\E:\x.vbs)", true},
        {R"(wscript.exe \\.\G:\x.vbs)", true},
        {R"(wscript.exe \\?\UNC\server\share\x.vbs)", false},
        {R"(wscript.exe E:x.vbs)", true}, // relative to E:'s current folder
        {R"(wscript.exe E:/x.vbs)", true},
        {R"(wscript.exe ""E:\x.vbs"")", true},
        {R"(wscript.exe "E:\unclosed quote.vbs)", true},
        {R"(wscript.exe "F:\fixed.vbs")", false}, // not a removable drive
        {R"(wscript.exe EE:\x.vbs)", false},
        {R"(wscript.exe "" E:\x.vbs)", false}, // the script is the empty word
        {R"(E:\wscript.exe C:\x.vbs)", false}, // a host on the stick says nothing of its script
        {"wscript.exe //B", false},
        {"wscript.exe", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunsScriptFromDrive(c.commandLine, sticks), c.ends) << c.commandLine;
        EXPECT_EQ(test::PowerShellEndsScriptHost(c.commandLine, sticks), c.ends) << c.commandLine;
    }
    EXPECT_FALSE(RunsScriptFromDrive(R"(wscript.exe "E:\x.vbs")", {}));
    EXPECT_FALSE(test::PowerShellEndsScriptHost(R"(wscript.exe "E:\x.vbs")", {}));
}

TEST(ScriptHostCommandTest, WordsLoseTheirQuotesAndKeepQuotedBlanks) {
    const struct {
        const char* commandLine;
        std::vector<std::string> words;
    } cases[] = {
        {R"(  a  "b c"d  e"f g" )", {"a", "b cd", "ef g"}},
        {R"("")", {""}},
        {R"(a "b)", {"a", "b"}},
        {"\t\r\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLineWords(c.commandLine), c.words) << c.commandLine;
    EXPECT_EQ(ScriptArgument(R"(wscript //B \\?\E:\x.vbs //T:5)"), std::optional<std::string>("E:\\x.vbs"));
    EXPECT_EQ(ScriptArgument("wscript //B //T:5"), std::nullopt);
}

// Every page of the window and every command the user can give is explained in the help.
TEST(ShippedHelpTest, CoversEveryPageAndCommand) {
    const std::string project = Shipped("help/tollivar.hhp");
    const std::string contents = Shipped("help/toc.hhc");
    std::string all;
    bool inFiles = false;
    for (const auto& line : Lines(project)) {
        if (!line.empty() && line.front() == '[') inFiles = line == "[FILES]";
        if (!inFiles || line.size() < 6 || line.substr(line.size() - 5) != ".html") continue;
        const std::string page = Shipped("help/" + line);
        EXPECT_FALSE(page.empty()) << line;
        EXPECT_NE(contents.find("\"" + line + "\""), std::string::npos) << line << " is not in the contents";
        all += page;
    }
    const char* labels[] = {
        // pages and left buttons
        "Main Info page", "Threat Shield page", "Threat Scan page", "Heal System page", "Settings page",
        "Quarantine manager", "Home", "Update", "Help Support",
        // page commands
        "Scan Now &gt;", "Heal It &gt;", "Select All", "Deselect All", "Heal Selected &gt;", "Start Scan &gt;",
        "Heal Sel. X", "Heal System &gt;", "Apply Settings &gt;", "Local Drives.", "Removable Media.",
        "Start with Windows.", "Display Splash Screen on startup.", "Display Alert Window on Threat Dectection.",
        "Quarantine Threats safely.", "Destroy Threats forever.",
        // dialogs
        "Heal", "Ignore", "Full Scan &gt;", "Delete Selected", "Restore Selected", "View Help", "Use online Form",
        "Use e-mail client", "Visit Website", "Do not show this message again.",
        // tray menu
        "Show Main Window", "Hide Main Window", "Help and Support", "About", "Shutdown Security",
        // the installation
        "KVRUpdate", "def.uas.bak", "unscript.bat", "unstart.reg", "quarantine\\", "/DELETEQUARANTINE",
    };
    for (const char* label : labels) EXPECT_NE(all.find(label), std::string::npos) << label;
}

} // namespace
} // namespace tollivar
