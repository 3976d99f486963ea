// The player's key and pad bindings: while the first game pad answers only the pad is read, else only
// the keyboard. Pressed and released mean this frame and not the last. Main thread.
#pragma once

#include "vek/input/XInputController.h"

#include <cstdint>
#include <optional>

class InputHandler;

class PlayerInput
{
public:
    // Beyond this the stick counts as held to its side.
    static constexpr float STICK_MOVE_THRESHOLD = 0.15f;

    // The pad is read through SDL's game controllers.
    explicit PlayerInput(InputHandler* anInputHandler);
    // The pad is read through aPadBackend, which must outlive the bindings.
    PlayerInput(InputHandler* anInputHandler, Platform::PadBackend& aPadBackend);

    void SetInputHandler(InputHandler* anInputHandler) { myInputHandler = anInputHandler; }

    // Opens the pad once, on the main thread.
    void OpenPad();
    // Once a frame: finds the pad and reads it; true when a pad is in use this frame.
    bool PollPad();
    bool IsPadInUse() const { return myIsPadInUse; }
    // Zero without a pad.
    float GetLeftStickX() const { return myPad.has_value() ? myPad->leftStickX : 0.0f; }

    bool IsMoveLeftHeld() const;
    bool IsMoveRightHeld() const;
    bool IsJumpPressed() const;
    bool IsJumpReleased() const;
    bool IsGroundPoundPressed() const;
    bool IsSprintPressed() const;
    bool IsSprintReleased() const;
    bool IsInteractPressed() const;

    bool IsPadButtonPressed(std::uint16_t aMask) const;
    bool IsPadButtonReleased(std::uint16_t aMask) const;
    bool IsKeyDown(std::uint32_t aKey) const;
    bool IsKeyPressed(std::uint32_t aKey) const;
    bool IsKeyReleased(std::uint32_t aKey) const;

private:
    InputHandler* myInputHandler = nullptr;
    Platform::PadBackend* myPadBackend = nullptr;
    std::optional<Qel::XInputController> myPad;
    bool myIsPadInUse = false;
};
