#include "heal/heal_status_text.h"

namespace tollivar {

namespace {

std::string UnhiddenText(int items) {
    if (items <= 0) return {};
    return " " + std::to_string(items) + (items == 1 ? " item unhidden." : " items unhidden.");
}

} // namespace

std::string HealStatusText(HealedList list, const HealTally& tally) {
    if (tally.notHealed <= 0)
        return std::string(list == HealedList::Shield ? kShieldHealedText : kScanHealedText) +
               UnhiddenText(tally.itemsUnhidden);
    return " " + std::to_string(tally.notHealed) + (tally.notHealed == 1 ? " Infection" : " Infections") +
           " NOT Healed..." + UnhiddenText(tally.itemsUnhidden);
}

} // namespace tollivar
