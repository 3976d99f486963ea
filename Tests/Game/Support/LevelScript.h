// A level's scripted run: a short text committed beside the level's map that says which keys a player
// holds and until when, step by step. Steps end after a time or once the player's position or footing
// meets a condition, so a run survives small changes in timing. One line a step:
//
//   right until x >= 780        keys held until every condition holds ("and" joins them)
//   right jump for 0.3          keys held for a time in seconds
//   wait 12.5                   no key for a time
//   expect coins 23             the wisps the run collects (its keys must be all of the level's)
//
// Keys: left right jump pound sprint interact none. Conditions: x >= N, x <= N, y >= N, y <= N,
// grounded, airborne, falling, rising. "#" starts a comment.
#pragma once

#include "Base/InputHandler.h"
#include "vek/Math/Vector3.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace GameTest
{
// What a step can ask of the player each frame.
struct PlayerView
{
    Qel::Vector3<float> position;
    bool isGrounded = false;
    float verticalVelocity = 0.0f;
};

class LevelScript
{
public:
    enum Key : std::uint32_t
    {
        KEY_LEFT = 1u << 0,
        KEY_RIGHT = 1u << 1,
        KEY_JUMP = 1u << 2,
        KEY_POUND = 1u << 3,
        KEY_SPRINT = 1u << 4,
        KEY_INTERACT = 1u << 5,
    };

    struct Condition
    {
        enum Kind
        {
            X_AT_LEAST,
            X_AT_MOST,
            Y_AT_LEAST,
            Y_AT_MOST,
            GROUNDED,
            AIRBORNE,
            FALLING,
            RISING,
        };
        Kind kind = GROUNDED;
        float value = 0.0f;

        bool Holds(const PlayerView& aPlayer) const;
    };

    struct Step
    {
        std::uint32_t keys = 0;
        // Frames to hold, for a timed step; conditions, for the others.
        int frames = 0;
        std::vector<Condition> conditions;
        int line = 0;
        std::string text;
    };

    // The script in aText, or nothing with the first bad line's number and why in aError.
    static std::optional<LevelScript> Parse(const std::string& aText, int aFramesPerSecond,
                                            std::string& aError);
    static std::optional<LevelScript> Load(const std::filesystem::path& aPath, int aFramesPerSecond,
                                           std::string& aError);

    const std::vector<Step>& GetSteps() const { return mySteps; }
    // -1 when the script does not say.
    int GetExpectedCoins() const { return myExpectedCoins; }

private:
    std::vector<Step> mySteps;
    int myExpectedCoins = -1;
};

// Plays a script one frame at a time into an input handler, as window messages would.
class LevelScriptPlayer
{
public:
    // A step whose conditions do not hold within aStepLimitFrames fails the run.
    LevelScriptPlayer(const LevelScript& aScript, int aStepLimitFrames);

    // Takes a key message (WM_KEYDOWN or WM_KEYUP) and a virtual-key code.
    using KeySink = std::function<void(std::uint32_t aMessage, std::uint32_t aKey)>;

    // Moves past the steps that are done, then sends the key changes of the current step (all keys up
    // once the script is over). False once a step has run out of time; see GetFailure.
    bool Tick(const PlayerView& aPlayer, InputHandler& aInput);
    // The same, with the key changes handed to aSend (a window's message queue, say).
    bool Tick(const PlayerView& aPlayer, const KeySink& aSend);
    bool IsFinished() const { return myStep >= myScript->GetSteps().size(); }
    const std::string& GetFailure() const { return myFailure; }
    // The current step's line, for messages.
    std::string DescribeStep() const;

    // The keys a script's key bits stand for.
    static std::vector<std::uint32_t> ToVirtualKeys(std::uint32_t aKeys);

private:
    void SendKeys(std::uint32_t aKeys, const KeySink& aSend);

    const LevelScript* myScript;
    int myStepLimitFrames;
    std::size_t myStep = 0;
    int myFramesInStep = 0;
    std::uint32_t myHeld = 0;
    std::string myFailure;
};

// The folder the level scripts are committed in, beside the maps.
std::filesystem::path GetLevelScriptFolder();
} // namespace GameTest
