// Captions of the message boxes that several windows open, spelled as the program has always shown
// them (the lower-case i included).
#pragma once

namespace tollivar {

inline constexpr char kWarningCaption[] = "[ WARNiNG ]";
inline constexpr char kDoneCaption[] = "[ DONE ]";

} // namespace tollivar
