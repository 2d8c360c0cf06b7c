// The one environment reference ("%NAME%") that autorun values and definitions file entries may hold.
// Platform-free: the environment is reached through an injected lookup.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tollivar {

// The whole value of a variable, or nothing when it is not defined.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

enum class ReferenceOutcome {
    NoReference, // no "%": the value is used as it is
    Expanded,    // the first reference was replaced
    Undefined,   // the named variable is not defined (an empty name never is)
    Unclosed,    // the first "%" has no closing "%"
};

struct ExpandedValue {
    ReferenceOutcome outcome = ReferenceOutcome::NoReference;
    std::string text; // the expansion when Expanded, otherwise the value unchanged
};

// Expands only the first reference: what stands before the first "%" is dropped, the name up to the
// next "%" is looked up, and everything after the closing "%" is appended unchanged (later "%" stay
// literal).
ExpandedValue ExpandFirstReference(std::string_view value, const EnvironmentLookup& lookup);

} // namespace tollivar
