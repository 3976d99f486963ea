#include "Enemies/SchnozAnimator.h"

#include "Components/AnimatedMeshComponent.h"
#include "Enemies/SchnozController.h"
#include "Enemies/SchnozStates.h"
#include "Objects/GameObject.h"
#include "Session/BonusLevel.h"
#include "Session/LevelRegistry.h"
#include "vek/Core/Assert.h"
#include "vek/Core/Profiler.h"

SchnozAnimator::~SchnozAnimator()
{
    ExitCurrentState();
}

void SchnozAnimator::OnStart()
{
    const Qel::ProfilerScope scope("SchnozAnimator::CreateAnimationPlayers");
    if (LinkAnimatedMesh() == nullptr)
    {
        QEL_ASSERT(myAnimatedMesh &&
                   "SchnozAnimator requires an AnimatedMeshComponent on the same GameObject!");
        return;
    }
    if (!CreatePlayersForClips())
    {
        return;
    }
    if (mySchnozController == nullptr && myOwner != nullptr)
    {
        mySchnozController = myOwner->GetComponent<SchnozController>();
    }
    QEL_ASSERT(mySchnozController != nullptr);
    if (LevelRegistry::GetInstance().GetCurrentScene() == BONUS_LEVEL_PATH)
    {
        PlayAnimation(SchnozClip::DANCE);
        if (mySchnozController != nullptr)
        {
            mySchnozController->SetEnabled(false);
        }
        return;
    }
    if (GetCurrentState() == nullptr && mySchnozController != nullptr)
    {
        ChangeState(new SchnozWalkState());
    }
}

void SchnozAnimator::StartWalking()
{
    if (mySchnozController == nullptr && myOwner != nullptr)
    {
        mySchnozController = myOwner->GetComponent<SchnozController>();
    }
    if (mySchnozController != nullptr)
    {
        mySchnozController->SetEnabled(true);
    }
    ChangeState(new SchnozWalkState());
}

SchnozController* SchnozAnimator::GetSchnozController()
{
    QEL_ASSERT(mySchnozController && "SchnozController is required but missing.");
    return mySchnozController;
}
