// Names of quarantined files: the threat's own file name + "." + a number + "qr", and the split that
// gives the original name back. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/text_rules.h"

namespace tollivar {

// A byte no file name may hold: control characters, the separators, the stream colon, the wildcards,
// quotes and redirection characters.
bool IsForbiddenInFileName(char c);

// A name Windows opens as a device whatever follows its first dot: CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM1-COM9 and LPT1-LPT9 (also with the superscript digits 1-3, in UTF-8),
// without regard to case and to blanks before the dot.
bool IsReservedDeviceName(std::string_view fileName);

// A name that, joined to a folder, names one file in that folder: not empty, not only dots and blanks
// (which Windows strips, leaving the folder itself or its parent), no forbidden byte, no device name.
bool IsPlainFileName(std::string_view name);

// name + "." + suffix as signed decimal + "qr": "autorun.inf" and -1234 give "autorun.inf.-1234qr".
// The name is made plain so that the file lands in the quarantine folder and nowhere else: each
// forbidden byte becomes "_", and a "_" goes in front of a device name ("con" gives "_con.5qr").
std::string QuarantineFileName(std::string_view threatPath, std::int32_t suffix);

// quarantineFolder (ending in a backslash) + QuarantineFileName; nothing when the result would not
// fit the 511 characters of a path buffer (the file is then left where it is).
std::optional<std::string> QuarantineDestination(std::string_view quarantineFolder,
                                                 std::string_view threatPath, std::int32_t suffix);

// The number of a new quarantined name, scrambled from the tick count, a sequence number that grows
// with every attempt in this process, and the process id, so that two names made in the same
// millisecond still differ.
std::int32_t QuarantineSuffix(std::uint32_t tickCount, std::uint32_t sequence, std::uint32_t processId);

// The threat's file name (made plain) recovered from a quarantined name: everything before its last ".".
// A name without a dot is returned whole.
std::string_view OriginalNameOfQuarantined(std::string_view quarantinedName);

} // namespace tollivar
