// The fixed clip lists of the player's and the boss's animators. A clip's index is its place in the
// list; the animators load the clips in this order and report the current one by index, and the sound
// bank turns those indices into movement sounds, so both sides must agree on these numbers.
// Clip files: the namespace's PATH_PREFIX, then the clip name, then ".fbx".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace PlayerClip
{
constexpr std::int32_t INTRO_START = 0;
constexpr std::int32_t IDLE = 1;
constexpr std::int32_t IDLE_PRE_SPIRIT = 2;
constexpr std::int32_t IDLE_TO_WALK = 3;
constexpr std::int32_t WALK = 4;
constexpr std::int32_t WALK_PRE_SPIRIT = 5;
constexpr std::int32_t WALK_TO_IDLE = 6;
constexpr std::int32_t WALK_TO_RUN = 7;
constexpr std::int32_t RUN = 8;
constexpr std::int32_t RUN_TO_WALK = 9;
constexpr std::int32_t STOP = 10;
constexpr std::int32_t STOP_PRE_SPIRIT = 11;
constexpr std::int32_t JUMP = 12;
constexpr std::int32_t JUMP_PRE_SPIRIT = 13;
constexpr std::int32_t FALL_START = 14;
constexpr std::int32_t FALL_START_PRE_SPIRIT = 15;
constexpr std::int32_t EDGE_FALL_START = 16;
constexpr std::int32_t FALL = 17;
constexpr std::int32_t FALL_PRE_SPIRIT = 18;
constexpr std::int32_t EDGE_FALL = 19;
constexpr std::int32_t EDGE_FALL_PRE_SPIRIT = 20;
constexpr std::int32_t JUMP_LEAVE = 21;
constexpr std::int32_t JUMP_LEAVE_PRE_SPIRIT = 22;
constexpr std::int32_t WALL_GRAB_LEFT = 23;
constexpr std::int32_t WALL_GRAB = 24;
constexpr std::int32_t WALL_SLIDE_LEFT = 25;
constexpr std::int32_t WALL_SLIDE = 26;
constexpr std::int32_t WALL_JUMP = 27;
constexpr std::int32_t GROUND_POUND_START = 28;
constexpr std::int32_t GROUND_POUND_FALL = 29;
constexpr std::int32_t GROUND_POUND_END = 30;
constexpr std::int32_t DAMAGE_ON_GROUND = 31;
constexpr std::int32_t DAMAGE_IN_AIR = 32;
constexpr std::int32_t DEATH = 33;
constexpr std::int32_t WIN = 34;
constexpr std::int32_t END_CUTSCENE = 35;
constexpr std::int32_t COUNT = 36;

constexpr std::string_view PATH_PREFIX = "Animations/Player/CH_Playercharacter_";

constexpr std::array<std::string_view, COUNT> NAMES = {
    "introStart",
    "idle",
    "idle_preSpirit",
    "idleToWalk",
    "walk",
    "walk_preSpirit",
    "walkToIdle",
    "walkToRun",
    "run",
    "runToWalk",
    "stop",
    "stop_preSpirit",
    "jump",
    "jump_preSpirit",
    "fallStart",
    "fallStart_preSpirit",
    "edgeFallStart",
    "fall",
    "fall_preSpirit",
    "edgeFall",
    "edgeFall_preSpirit",
    "jumpLeave",
    "jumpLeave_preSpirit",
    "wallGrab_left",
    "wallGrab",
    "wallSlide_left",
    "wallSlide",
    "wallJump",
    "groundPoundStart",
    "groundPoundFall",
    "groundPoundEnd",
    "damageOnGround",
    "damageInAir",
    "death",
    "win",
    "endCutscene",
};
} // namespace PlayerClip

namespace BossClip
{
constexpr std::int32_t IDLE = 0;
constexpr std::int32_t HURT = 1;
constexpr std::int32_t MOVE = 2;
constexpr std::int32_t DEATH = 3;
constexpr std::int32_t INTRO = 4;
constexpr std::int32_t DANCE = 5;
constexpr std::int32_t COUNT = 6;

constexpr std::string_view PATH_PREFIX = "Animations/Boss/CH_Boss_";

constexpr std::array<std::string_view, COUNT> NAMES = {"idle", "hurt", "move", "death", "intro", "dance"};
} // namespace BossClip
