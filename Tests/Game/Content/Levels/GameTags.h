// Every tag the game's builders know, for the tests that check the shipped levels and definitions
// cover them all.
#pragma once

namespace GameTest
{
inline constexpr const char* ALL_GAME_TAGS[] = {"Player",
                                                "Ground",
                                                "Platform",
                                                "BreakableBlock",
                                                "Schnoz_II",
                                                "Schnoz_III",
                                                "Boss",
                                                "EyeInTheSky",
                                                "Birgil",
                                                "BloodSea",
                                                "Autocam",
                                                "AutocamTrigger",
                                                "LockCamTrigger",
                                                "Trigger",
                                                "Checkpoint",
                                                "levelEnd",
                                                "Dialogue",
                                                "RankingSystem",
                                                "WorldDeathThreshold",
                                                "DeathBox",
                                                "Coin",
                                                "Key",
                                                "PowerUp",
                                                "VfxEmitter",
                                                "Fog",
                                                "Static",
                                                "Decoration",
                                                "Untagged"};
} // namespace GameTest
