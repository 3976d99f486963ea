// The player's bindings: which keys and pad controls each action reads.
#include "Player/PlayerInput.h"

#include "Base/InputHandler.h"
#include "Platform/Window/WindowMessages.h"

namespace
{
constexpr float POUND_STICK_X = 0.5f;
constexpr float POUND_STICK_Y = -0.33f;
constexpr std::uint16_t SPRINT_BUTTONS =
    Platform::PAD_BUTTON_B | Platform::PAD_BUTTON_LEFT_SHOULDER | Platform::PAD_BUTTON_RIGHT_SHOULDER;
} // namespace

PlayerInput::PlayerInput(InputHandler* anInputHandler) : myInputHandler(anInputHandler)
{
}

PlayerInput::PlayerInput(InputHandler* anInputHandler, Platform::PadBackend& aPadBackend)
    : myInputHandler(anInputHandler), myPadBackend(&aPadBackend)
{
}

void PlayerInput::OpenPad()
{
    if (!myPad.has_value())
    {
        myPad.emplace(myPadBackend != nullptr ? *myPadBackend : Platform::GetDefaultPadBackend());
    }
}

bool PlayerInput::PollPad()
{
    if (!myPad.has_value() || !myPad->Connect())
    {
        myIsPadInUse = false;
        return false;
    }
    myIsPadInUse = true;
    myPad->Refresh();
    return true;
}

bool PlayerInput::IsMoveLeftHeld() const
{
    return myIsPadInUse ? myPad->leftStickX < -STICK_MOVE_THRESHOLD : IsKeyDown(VK_A) || IsKeyDown(VK_LEFT);
}

bool PlayerInput::IsMoveRightHeld() const
{
    return myIsPadInUse ? myPad->leftStickX > STICK_MOVE_THRESHOLD : IsKeyDown(VK_D) || IsKeyDown(VK_RIGHT);
}

bool PlayerInput::IsJumpPressed() const
{
    return myIsPadInUse ? IsPadButtonPressed(Platform::PAD_BUTTON_A)
                        : IsKeyPressed(VK_SPACE) || IsKeyPressed(VK_UP);
}

bool PlayerInput::IsJumpReleased() const
{
    return myIsPadInUse ? IsPadButtonReleased(Platform::PAD_BUTTON_A)
                        : IsKeyReleased(VK_SPACE) || IsKeyReleased(VK_UP);
}

bool PlayerInput::IsGroundPoundPressed() const
{
    if (myIsPadInUse)
    {
        return IsPadButtonPressed(Platform::PAD_BUTTON_A) && myPad->leftStickX > -POUND_STICK_X &&
               myPad->leftStickX < POUND_STICK_X && myPad->leftStickY < POUND_STICK_Y;
    }
    return IsKeyPressed(VK_S) || IsKeyPressed(VK_DOWN);
}

bool PlayerInput::IsSprintPressed() const
{
    // Any one of the three buttons.
    return myIsPadInUse ? myPad->IsNewPressed(SPRINT_BUTTONS) : IsKeyPressed(VK_SHIFT);
}

bool PlayerInput::IsSprintReleased() const
{
    return myIsPadInUse ? myPad->IsReleased(SPRINT_BUTTONS) : IsKeyReleased(VK_SHIFT);
}

bool PlayerInput::IsInteractPressed() const
{
    return myIsPadInUse ? IsPadButtonPressed(Platform::PAD_BUTTON_DPAD_UP) : IsKeyPressed(VK_E);
}

bool PlayerInput::IsPadButtonPressed(std::uint16_t aMask) const
{
    return myPad.has_value() && (myPad->GetState().gamepad.buttons & aMask) == aMask &&
           (myPad->GetPreviousState().gamepad.buttons & aMask) != aMask;
}

bool PlayerInput::IsPadButtonReleased(std::uint16_t aMask) const
{
    return myPad.has_value() && (myPad->GetState().gamepad.buttons & aMask) != aMask &&
           (myPad->GetPreviousState().gamepad.buttons & aMask) == aMask;
}

bool PlayerInput::IsKeyDown(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyDown(aKey);
}

bool PlayerInput::IsKeyPressed(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyPressed(aKey);
}

bool PlayerInput::IsKeyReleased(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyReleased(aKey);
}
