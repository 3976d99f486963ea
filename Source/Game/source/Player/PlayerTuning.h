// The player's movement tuning as the builder sets it, before the first level scales any of it. Speeds
// in units per second, times in seconds. Plain data.
#pragma once

struct PlayerTuning
{
    float maxSpeed = 0.0f;
    float acceleration = 0.0f;
    float sprintMultiplier = 0.0f;
    float groundPoundDelay = 0.0f;
    float terminalVelocity = 0.0f;
    float gravity = 0.0f;
    float jumpForce = 0.0f;
    float jumpGracePeriod = 0.0f;
    float wallJumpHorizontalMult = 0.0f;
    float wallJumpVerticalMult = 0.0f;
    float forgivingTimingDelay = 0.0f;
};
