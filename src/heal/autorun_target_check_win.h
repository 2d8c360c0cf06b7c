// Whether healing may take the program a drive's autorun.inf names, judged on every name the
// platform knows the file by.
#pragma once

#include <string>

namespace tollivar {

// The program (target) named by the autorun.inf of the drive at root ("E:\") may be taken only when
// it lies on that drive and outside the Windows folder and the install folder, under its name as
// listed, its long form and where links lead. Safe on any thread.
bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder);

} // namespace tollivar
