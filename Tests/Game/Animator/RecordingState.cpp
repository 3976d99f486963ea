#include "Game/Animator/RecordingState.h"

#include "Components/AnimatedMeshComponent.h"
#include "vek/Core/Assert.h"

void RecordingAnimator::OnStart()
{
    LinkAnimatedMesh();
    QEL_ASSERT(myAnimatedMesh &&
               "RecordingAnimator requires an AnimatedMeshComponent on the same GameObject!");
    CreatePlayersForClips();
}
