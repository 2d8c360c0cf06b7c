// How the platform reads a path before it opens it: its form, its normalized text, and whether it can
// name a file at all.
#include "engine/path_form.h"

#include <gtest/gtest.h>

#include "engine/autorun_rules.h"

namespace tollivar {
namespace {

using Form = PathForm;

TEST(PathFormTest, NormalizesAsThePlatformReadsThePath) {
    const struct {
        const char* path;
        Form form;
        const char* text;
        bool namesFolder;
    } cases[] = {
        {"E:\\run.exe", Form::Drive, "E:\\run.exe", false},
        {"e:/Deep//x/./Run.EXE", Form::Drive, "e:\\Deep\\x\\Run.EXE", false},
        {"E:\\a\\..\\..\\..\\run.exe", Form::Drive, "E:\\run.exe", false}, // never above the root
        {"E:\\run.exe. . ", Form::Drive, "E:\\run.exe", false},
        {"E:\\dir. \\run.exe", Form::Drive, "E:\\dir\\run.exe", false},
        {"E:\\...\\run.exe", Form::Drive, "E:\\run.exe", false}, // a part of dots only names nothing
        {"E:\\", Form::Drive, "E:\\", true},
        {"E:\\dir\\", Form::Drive, "E:\\dir", true},
        {"E:\\dir\\.", Form::Drive, "E:\\dir", true},
        {"E:\\dir\\x\\..", Form::Drive, "E:\\dir", true},
        // Only an exact verbatim prefix is taken as it stands, and then it is not normalized at all.
        {"\\\\?\\E:\\run.exe", Form::Drive, "E:\\run.exe", false},
        {"\\\\?\\E:\\run.exe.", Form::Drive, "E:\\run.exe.", false},
        {"\\\\?\\E:\\", Form::Drive, "E:\\", true},
        {"\\\\?\\E:\\..\\x.exe", Form::Device, "\\\\?\\E:\\..\\x.exe", false},
        {"\\\\?\\E:/x.exe", Form::Device, "\\\\?\\E:/x.exe", false},
        {"\\\\?\\E:\\\\x.exe", Form::Device, "\\\\?\\E:\\\\x.exe", false},
        {"\\\\?\\UNC\\srv\\share\\x.exe", Form::Device, "\\\\?\\UNC\\srv\\share\\x.exe", false},
        {"\\\\?\\Volume{0b1e7e57-0000-0000-0000-100000000000}\\x.exe", Form::Device,
         "\\\\?\\Volume{0b1e7e57-0000-0000-0000-100000000000}\\x.exe", false},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\x.exe", Form::Device,
         "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\x.exe", false},
        // Any other device form is normalized with the prefix alone as its root: ".." takes the drive away.
        {"/\\?\\E:\\..\\UNC\\server\\share\\report.exe", Form::Device,
         "\\\\?\\UNC\\server\\share\\report.exe", false},
        {"\\/?\\E:\\x.exe", Form::Device, "\\\\?\\E:\\x.exe", false},
        {"//?/E:/x.exe", Form::Device, "\\\\?\\E:\\x.exe", false},
        {"\\\\.\\E:\\x.exe", Form::Device, "\\\\.\\E:\\x.exe", false},
        {"\\\\.\\E:\\..\\C:\\x.exe", Form::Device, "\\\\.\\C:\\x.exe", false},
        {"\\??\\E:\\x.exe", Form::Device, "\\??\\E:\\x.exe", false},
        {"E:\\x\\con", Form::Device, "\\\\.\\CON", false},
        {"E:\\x\\Nul.txt", Form::Device, "\\\\.\\NUL", false},
        {"E:\\lpt1 .log", Form::Device, "\\\\.\\LPT1", false},
        {"E:\\com10", Form::Drive, "E:\\com10", false},
        {"E:\\console", Form::Drive, "E:\\console", false},
        {"1:\\x.exe", Form::Device, "1:\\x.exe", false},
        // A share: the server and the share are the root.
        {"\\\\srv\\share\\x.exe", Form::Unc, "\\\\srv\\share\\x.exe", false},
        {"//srv/share/../../x.exe", Form::Unc, "\\\\srv\\share\\x.exe", false},
        {"\\\\srv\\share", Form::Unc, "\\\\srv\\share", true},
        // A share whose name ends in a colon still takes its parts after a separator.
        {"\\\\srv\\x:\\a.exe", Form::Unc, "\\\\srv\\x:\\a.exe", false},
        {"\\\\\\\\", Form::Unc, "\\\\", true},
        // Relative to a current folder that is not known.
        {"run.exe", Form::Relative, "run.exe", false},
        {"E:run.exe", Form::Relative, "E:run.exe", false},
        {"\\run.exe", Form::Relative, "\\run.exe", false},
        {"/\\run.exe", Form::Unc, "\\\\run.exe", true}, // two separators start a share, whatever follows
        {"", Form::Relative, "", false},
    };
    for (const auto& c : cases) {
        const NormalPath p = NormalizePath(c.path);
        EXPECT_EQ(p.form, c.form) << c.path;
        EXPECT_EQ(p.text, c.text) << c.path;
        EXPECT_EQ(p.namesFolder, c.namesFolder) << c.path;
    }
}

TEST(PathFormTest, OnlyAnExactVerbatimPrefixIsDroppedForComparison) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"\\\\?\\E:\\x.exe", "e:\\X.EXE", true},  {"/\\?\\E:\\x.exe", "E:\\x.exe", false},
        {"\\/?\\E:\\x.exe", "E:\\x.exe", false},  {"//?/E:/x.exe", "E:\\x.exe", false},
        {"\\\\.\\E:\\x.exe", "E:\\x.exe", false}, {"\\??\\E:\\x.exe", "E:\\x.exe", false},
        {"E:\\a\\..\\x.exe", "E:\\x.exe", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComparablePath(c.a) == ComparablePath(c.b), c.same) << c.a << " vs " << c.b;
}

} // namespace
} // namespace tollivar
