#include "heal/heal_status_text.h"

namespace tollivar {

std::string HealStatusText(HealedList list, const HealTally& tally) {
    if (tally.notHealed <= 0) return std::string(list == HealedList::Shield ? kShieldHealedText : kScanHealedText);
    return " " + std::to_string(tally.notHealed) + (tally.notHealed == 1 ? " Infection" : " Infections") +
           " NOT Healed...";
}

} // namespace tollivar
