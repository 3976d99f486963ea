// Lock triggers steer the camera's auto-camera while the player is inside and let go as they should.
#include "Camera/CameraController.h"
#include "Collision/BoxColliderComponent.h"
#include "Objects/GameObject.h"
#include "Scripted/LockCameraTriggerComponent.h"
#include "Support/WorkingFolder.h"

#include <gtest/gtest.h>

using Vector3f = Qel::Vector3<float>;

namespace
{
class LockTrigger : public testing::Test
{
protected:
    void SetUp() override
    {
        myTrigger.GetTransform().SetPosition({1000.0f, 200.0f, 0.0f});
        myBox = myTrigger.AddComponent<BoxColliderComponent>(Vector3f(500.0f, 500.0f, 200.0f),
                                                             Vector3f(0.0f, 0.0f, 0.0f), true, false);
        myLock = myTrigger.AddComponent<LockCameraTriggerComponent>();
        myLock->SetTriggerBox(myBox);
        myLock->SetCameraController(&myCamera);
        myLock->SetTargetPosition({0.0f, 100.0f, -900.0f});
        myLock->SetUseOwnerRelativePosition(true);
        myLock->SetTargetFovDegrees(45.0f);
        myLock->SetFovLerpSpeed(2.0f);
        myLock->SetPositionLerpSpeed(5.0f);
        myTrigger.Start(nullptr);
    }

    void Step() { myTrigger.Update(1.0f / 60.0f); }
    void Enter()
    {
        myBox->TriggerEnter();
        Step();
    }
    void Leave()
    {
        myBox->TriggerExit();
        Step();
    }
    const CameraController::AutoCamera& Auto() const { return myCamera.GetAutoCamera(); }

    QelTest::WorkingFolder myFolder;
    CameraController myCamera;
    GameObject myTrigger{"Lock"};
    BoxColliderComponent* myBox = nullptr;
    LockCameraTriggerComponent* myLock = nullptr;
};
} // namespace

TEST_F(LockTrigger, SteersTheCameraWhileThePlayerIsInsideAndLetsGoOnExit)
{
    Step();
    EXPECT_FALSE(Auto().active);
    Enter();
    EXPECT_TRUE(Auto().active);
    EXPECT_EQ(Auto().targetPosition, Vector3f(1000.0f, 300.0f, -900.0f));
    EXPECT_NEAR(Auto().targetFov, 0.785398f, 1e-5f);
    EXPECT_FLOAT_EQ(Auto().fovSpeed, 2.0f);
    EXPECT_FLOAT_EQ(Auto().positionSpeed, 5.0f);

    // It keeps steering: a lock elsewhere undone between frames is put back.
    myCamera.GetAutoCamera().active = false;
    Step();
    EXPECT_TRUE(Auto().active);

    Leave();
    EXPECT_FALSE(Auto().active);

    myLock->SetUseOwnerRelativePosition(false);
    Enter();
    EXPECT_EQ(Auto().targetPosition, Vector3f(0.0f, 100.0f, -900.0f));
}

TEST_F(LockTrigger, WithoutUnlockOnExitTheCameraStaysLocked)
{
    myLock->SetUnlockOnExit(false);
    Enter();
    Leave();
    Step();
    EXPECT_TRUE(Auto().active);
}

TEST_F(LockTrigger, AReleasedLockWaitsForThePlayerToLeaveAndComeBack)
{
    Enter();
    myLock->ReleaseLock();
    EXPECT_FALSE(Auto().active);
    Step();
    EXPECT_FALSE(Auto().active);
    EXPECT_TRUE(myLock->IsLockReleased());

    // Leaving does not unlock again: a lock another trigger set meanwhile stays.
    myCamera.GetAutoCamera().active = true;
    Leave();
    EXPECT_TRUE(Auto().active);
    myCamera.GetAutoCamera().active = false;

    Enter();
    EXPECT_TRUE(Auto().active);
    EXPECT_FALSE(myLock->IsLockReleased());
}

TEST_F(LockTrigger, ReleasedFromOutsideItLocksAgainOnTheNextEntry)
{
    myLock->ReleaseLock();
    EXPECT_FALSE(myLock->IsLockReleased());
    Enter();
    EXPECT_TRUE(Auto().active);
}

TEST_F(LockTrigger, WithoutACameraOrBoxItDoesNothing)
{
    myLock->SetCameraController(nullptr);
    Enter();
    EXPECT_FALSE(Auto().active);
    myLock->SetCameraController(&myCamera);
    myLock->SetTriggerBox(nullptr);
    Step();
    EXPECT_FALSE(Auto().active);
}
