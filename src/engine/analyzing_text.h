// The status-bar text the detectors show while they work. Platform-free.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tollivar {

// Shown when the definitions walk has no further threat to read.
inline constexpr std::string_view kSeekingText = "Seeking...";

// " Analyzing >>  " (two blanks at the end) followed by the text, cut to 511 characters.
std::string AnalyzingText(std::string_view text);

// Receives each status text as it is formed.
using StatusSink = std::function<void(const std::string&)>;

} // namespace tollivar
