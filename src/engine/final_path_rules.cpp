#include "engine/final_path_rules.h"

#include "config/text_rules.h"
#include "engine/path_form.h"

namespace tollivar {
namespace {

// The final path of a file on a drive letter, or a path of no file on any letter.
NormalPath FinalFile(std::string_view finalPath) {
    if (finalPath.substr(0, 4) != "\\\\?\\") return {};
    NormalPath path = NormalizePath(finalPath);
    if (path.form != PathForm::Drive || path.namesFolder) return {};
    return path;
}

} // namespace

bool FinalPathIsOnDrive(std::string_view finalPath, std::string_view driveRoot) {
    const NormalPath root = NormalizePath(driveRoot);
    const char letter = root.text.size() == 3 ? DriveLetterOf(root) : 0;
    return letter != 0 && DriveLetterOf(FinalFile(finalPath)) == letter;
}

bool FinalPathIsListedPath(std::string_view finalPath, std::string_view listedPath) {
    const NormalPath opened = FinalFile(finalPath);
    if (opened.form != PathForm::Drive) return false;
    const NormalPath listed = NormalizePath(listedPath);
    return listed.form == PathForm::Drive && !listed.namesFolder && EqualsUpper(opened.text, listed.text);
}

} // namespace tollivar
