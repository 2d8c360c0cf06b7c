#include "app/instance_rule.h"

#include "config/text_rules.h"

namespace tollivar {

bool IsProgramImageName(std::string_view exeName) { return EqualsUpper(exeName, kProgramImageUpper); }

} // namespace tollivar
