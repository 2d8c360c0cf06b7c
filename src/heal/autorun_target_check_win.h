// Whether healing may take a program that a drive names (through its autorun.inf or a shortcut), and
// whether a file of a fixed threat path is where it is listed: judged on where the file really is.
#pragma once

#include <string>

namespace tollivar {

enum class TargetCheck {
    MayBeTaken, // its final path is a drive path on the drive that named it, outside both folders
    Refused,    // anything else: another drive, a share, a volume without a letter, a system file,
                // a path that could not be resolved
    Gone,       // no file is there any more
};

// The program (target) named by the drive at root ("E:\") may be taken only when its name as listed
// and its final path, resolved through an open handle with every link on the way followed, are drive
// paths on that drive, outside the Windows folder and the install folder. Safe on any thread.
TargetCheck CheckAutorunTarget(const std::string& target, const std::string& root, const std::string& installFolder);

// CheckAutorunTarget(...) == TargetCheck::MayBeTaken.
bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder);

// A fixed threat path: the file is there and no link on the way leads elsewhere (Refused), or gone.
TargetCheck CheckListedPlace(const std::string& path);

} // namespace tollivar
