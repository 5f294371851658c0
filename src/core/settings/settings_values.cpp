#include "core/settings/settings.h"

#include <cmath>

uint32_t ClampStoredPercent(uint32_t stored) {
    return stored > 100u ? kDefaultPercent : stored;
}

float PercentToFraction(uint32_t percent) {
    return static_cast<float>(static_cast<double>(percent) / 100.0);
}

uint32_t FractionToPercent(float fraction) {
    return static_cast<uint32_t>(std::lround(static_cast<double>(fraction) * 100.0));
}

uint8_t StoredFlagToBool(uint32_t stored) {
    return (stored & 0xFFu) != 0 ? 1 : 0;
}
