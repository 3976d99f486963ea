#include "Player/PlayerScriptedStates.h"

#include "Animator/ClipIndices.h"
#include "Dialogue/DialogueTable.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Objects/GameObject.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Session/GameFlow.h"

#include <iostream>

namespace
{
const char* const LINE_KEYS[PlayerIntroState::LINE_COUNT] = {"First", "Second", "Third"};
} // namespace

void PlayerIntroState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::INTRO_START);
    myClipTimer = anAnimator.GetCurrentClipLength();
    GameObject* player = anAnimator.GetOwner();
    myBubble = player != nullptr ? player->GetComponent<SpeechBubbleComponent>() : nullptr;
    if (myBubble != nullptr)
    {
        myBubble->SetTarget(player);
        myBubble->SetActive(true);
        myBubble->SetOffset({-100.0f, 250.0f, 0.0f});
    }
    myLineTimer = LINE_INTERVAL;
    myLineInterval = LINE_INTERVAL;
    myStartDelay = START_DELAY;
    myLineIndex = 0;
}

void PlayerIntroState::Update(PlayerAnimator& anAnimator, float aDeltaTime)
{
    static_cast<void>(anAnimator);
    myClipTimer -= aDeltaTime;
    if (myStartDelay >= 0.0f)
    {
        myStartDelay -= aDeltaTime;
    }
    if (myLineTimer >= 0.0f && myStartDelay < 0.0f)
    {
        myLineTimer -= aDeltaTime;
    }
    else if (myLineTimer < 0.0f && myLineIndex < LINE_COUNT)
    {
        myLineTimer = myLineInterval;
        ++myLineIndex;
    }
}

void PlayerIntroState::ShowLine(const char* aKey, bool aShouldShow)
{
    const std::optional<DialogueLine> line = FindDialogueLine(GetDialogueDocument(), DIALOGUE_GROUP, aKey);
    if (!line)
    {
        // A line the file lacks is skipped; the bubble keeps what it shows.
        return;
    }
    myBubble->SetBubbleSprite(line->bubbleSprite);
    myBubble->SetText(line->text);
    if (aShouldShow)
    {
        myBubble->SetVisible(true);
    }
}

void PlayerIntroState::CheckTransition(PlayerAnimator& anAnimator)
{
    if (myClipTimer <= 0.0f)
    {
        anAnimator.GetPlayerController().LeavePreSpirit();
        // This state is gone once the change has run.
        anAnimator.ChangeState(new PlayerIdleState());
        return;
    }
    if (myStartDelay >= 0.0f || myLineIndex > LINE_COUNT || myBubble == nullptr)
    {
        return;
    }
    if (myLineIndex < LINE_COUNT)
    {
        ShowLine(LINE_KEYS[myLineIndex], myLineIndex == 0);
    }
    else
    {
        myBubble->SetVisible(false);
        myLineIndex = LINE_COUNT + 1;
    }
}

void PlayerOutroState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::END_CUTSCENE);
    anAnimator.GetPlayerController().LockInput();
}

void PlayerOutroState::CheckTransition(PlayerAnimator& anAnimator)
{
    IdleWhenTimerEnds(anAnimator);
}

void PlayerOutroState::OnExit(PlayerAnimator& anAnimator)
{
    static_cast<void>(anAnimator);
    // Quitting during the outro destroys the stack before the world: then there is nothing to ask.
    GameFlow* flow = GameFlow::GetCurrent();
    if (flow == nullptr)
    {
        return;
    }
    flow->SetPlayCreditsVideo(true);
    flow->PopToIndex(0);
}
