// The player's scripted states: the first level's intro, in which the spirit speaks three lines, and
// the outro at the end of the game, which hands over to the credits film.
#pragma once

#include "Player/PlayerStates.h"

#include <string>

class SpeechBubbleComponent;

class PlayerIntroState : public PlayerState
{
public:
    static constexpr float LINE_INTERVAL = 3.0f;
    static constexpr float START_DELAY = 1.8f;
    static constexpr int LINE_COUNT = 3;
    static constexpr const char* DIALOGUE_GROUP = "MeetWisp";

    std::string GetName() const override { return "Intro"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void Update(PlayerAnimator& anAnimator, float aDeltaTime) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;

private:
    void ShowLine(const char* aKey, bool aShouldShow);

    SpeechBubbleComponent* myBubble = nullptr;
    float myClipTimer = 0.0f;
    float myLineTimer = LINE_INTERVAL;
    float myLineInterval = LINE_INTERVAL;
    float myStartDelay = START_DELAY;
    int myLineIndex = 0;
};

class PlayerOutroState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Outro"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
    // Asks for the credits film and goes back to the title, however the outro ends.
    void OnExit(PlayerAnimator& anAnimator) override;
};
