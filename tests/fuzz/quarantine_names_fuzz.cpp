// Quarantine names and the Quarantine manager's rows. Properties: a generated name is one plain file
// (no separator, no forbidden byte, no device name), ends in the suffix, and gives the threat's name
// back when that name was plain already; the destination is the folder and that name, or nothing when
// too long; a listed name splits into a name and a suffix that join to it again, and the paths a row
// leads to are the folder (or desktop) and a plain name, nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "heal/quarantine_listing.h"
#include "heal/quarantine_names.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return u;
}

// Written here again from the device list, to hold the rule to it.
bool IsDevice(std::string_view name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    if (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0) return false;
    // A digit 1-9, or the superscript one, two or three (UTF-8, as the program's names are).
    const std::string digit = base.substr(3);
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// One file inside the folder it is joined to.
bool LandsInFolder(std::string_view name) {
    if (name.empty() || name.find_first_not_of(". ") == std::string_view::npos) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return !IsDevice(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t suffix = in.ConsumeIntegral<std::int32_t>();
    const std::string threat = in.ConsumeRandomLengthString(600);
    const std::string folder = in.ConsumeRandomLengthString(600);
    const std::string listed = in.ConsumeRandomLengthString(600);
    const std::string desktop = in.ConsumeRemainingBytesAsString();

    const std::string tail = "." + std::to_string(suffix) + "qr";
    const std::string name = tollivar::QuarantineFileName(threat, suffix);
    Check(LandsInFolder(name));
    Check(name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0);
    const std::string_view own = tollivar::FileNameOfPath(threat);
    Check(own.find('\\') == std::string_view::npos && own.find('/') == std::string_view::npos);
    Check(threat.size() >= own.size() && threat.compare(threat.size() - own.size(), own.size(), own) == 0);
    const std::string_view original = tollivar::OriginalNameOfQuarantined(name);
    if (LandsInFolder(own) || own.empty()) Check(original == own);
    Check(original.size() == own.size() || original.size() == own.size() + 1);

    const auto destination = tollivar::QuarantineDestination(folder, threat, suffix);
    if (folder.size() + name.size() <= 511)
        Check(destination && *destination == folder + name);
    else
        Check(!destination);

    // A row as the manager lists it and the two paths it derives from it.
    const tollivar::QuarantineRowName row = tollivar::SplitQuarantinedName(listed);
    Check(row.name + row.suffix == listed);
    Check(row.suffix.empty() || (row.suffix[0] == '.' && row.suffix.find('.', 1) == std::string::npos));
    const auto quarantined = tollivar::QuarantinedPathOfRow(folder, row.name, row.suffix);
    if (quarantined) Check(!folder.empty() && *quarantined == folder + listed && LandsInFolder(listed));
    if (!folder.empty() && LandsInFolder(listed) && folder.size() + listed.size() <= 511)
        Check(quarantined.has_value());
    const auto restore = tollivar::RestorePathOfRow(desktop, row.name);
    if (restore) Check(*restore == desktop + row.name && LandsInFolder(row.name) && restore->size() <= 511);
    // What the program itself quarantined comes back as a row that leads to it and restores.
    const tollivar::QuarantineRowName mine = tollivar::SplitQuarantinedName(name);
    Check(mine.name == original && mine.suffix == tail);
    if (!folder.empty() && folder.size() + name.size() <= 511)
        Check(tollivar::QuarantinedPathOfRow(folder, mine.name, mine.suffix) == folder + name);
    if (desktop.size() >= 3 && desktop[1] == ':' && desktop[2] == '\\' &&
        desktop.size() + mine.name.size() <= 511 && LandsInFolder(mine.name))
        Check(tollivar::RestorePathOfRow(desktop, mine.name) == desktop + mine.name);
    return 0;
}
