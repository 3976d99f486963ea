// The one level where the characters dance instead of playing their parts.
#pragma once

#include <string_view>

constexpr std::string_view BONUS_LEVEL_PATH = "levels/L_World3_BonusLevel.vks";
