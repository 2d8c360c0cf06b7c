#include "engine/environment_reference.h"

namespace tollivar {

ExpandedValue ExpandFirstReference(std::string_view value, const EnvironmentLookup& lookup) {
    const std::size_t open = value.find('%');
    if (open == std::string_view::npos) return {ReferenceOutcome::NoReference, std::string(value)};
    const std::size_t close = value.find('%', open + 1);
    if (close == std::string_view::npos) return {ReferenceOutcome::Unclosed, std::string(value)};
    const std::string name(value.substr(open + 1, close - open - 1));
    // The platform's lookup fails for an empty name; asking for it would only invite surprises.
    std::optional<std::string> found;
    if (!name.empty() && lookup) found = lookup(name);
    if (!found) return {ReferenceOutcome::Undefined, std::string(value)};
    std::string text = std::move(*found);
    text.append(value.substr(close + 1));
    return {ReferenceOutcome::Expanded, std::move(text)};
}

} // namespace tollivar
