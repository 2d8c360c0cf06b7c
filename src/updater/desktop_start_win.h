// Starting a program without the update program's administrator rights.
#pragma once

#include <optional>
#include <string>

namespace tollivar {

// Whether this process runs with an elevated token; nothing when the token cannot be read.
std::optional<bool> ProcessIsElevated();

// Starts program in folder through the desktop's shell (the shell process's ShellExecute), so that it
// runs as the desktop user with that user's rights. False when there is no desktop shell to ask or it
// refused; the shell starts the program itself, so a program that then fails to start is not seen here.
bool StartAsDesktopUser(const std::string& program, const std::string& folder);

} // namespace tollivar
