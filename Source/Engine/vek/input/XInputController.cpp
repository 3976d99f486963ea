#include "vek/input/XInputController.h"

#include <algorithm>
#include <cmath>

namespace Qel
{
XInputController::XInputController() : XInputController(Platform::GetDefaultPadBackend())
{
}

XInputController::XInputController(Platform::PadBackend& aBackend) : myBackend(&aBackend)
{
}

bool XInputController::Connect()
{
    for (std::uint32_t index = 0; index < Platform::PAD_SLOT_COUNT; ++index)
    {
        Platform::PadState probe;
        if (myBackend->GetState(index, probe))
        {
            myPadIndex = index;
            return true;
        }
    }
    myPadIndex = NO_PAD;
    return false;
}

float XInputController::ConvertAxis(std::int16_t aAxis, float aDeadZone)
{
    const float raw = std::max(static_cast<float>(aAxis) / 32767.0f, -1.0f);
    if (aDeadZone >= 1.0f)
    {
        return 0.0f;
    }
    const float magnitude = std::fabs(raw);
    if (aDeadZone > magnitude)
    {
        return 0.0f;
    }
    const float sign = raw > 0.0f ? 1.0f : (raw < 0.0f ? -1.0f : 0.0f);
    float value = sign * (magnitude - aDeadZone);
    if (aDeadZone > 0.0f)
    {
        value *= 1.0f / (1.0f - aDeadZone);
    }
    return value;
}

void XInputController::ClearValues()
{
    leftStickX = leftStickY = rightStickX = rightStickY = 0.0f;
    leftTrigger = rightTrigger = 0.0f;
}

bool XInputController::Refresh()
{
    if (myPadIndex == NO_PAD && !Connect())
    {
        // No pad: what was held is released now, once; from the next refresh on all reads zero.
        myPreviousState = myState;
        myState = Platform::PadState();
        ClearValues();
        return false;
    }

    myPreviousState = myState;
    myState = Platform::PadState();
    if (!myBackend->GetState(myPadIndex, myState))
    {
        myState = Platform::PadState();
        myPadIndex = NO_PAD;
        ClearValues();
        return false;
    }

    const Platform::PadGamepad& pad = myState.gamepad;
    leftStickX = ConvertAxis(pad.thumbLX, deadZoneX);
    leftStickY = ConvertAxis(pad.thumbLY, deadZoneY);
    rightStickX = ConvertAxis(pad.thumbRX, deadZoneX);
    rightStickY = ConvertAxis(pad.thumbRY, deadZoneY);
    leftTrigger = static_cast<float>(pad.leftTrigger) / 255.0f;
    rightTrigger = static_cast<float>(pad.rightTrigger) / 255.0f;
    return true;
}

bool XInputController::IsPressed(std::uint16_t aMask) const
{
    return (myState.gamepad.buttons & aMask) != 0;
}

bool XInputController::IsNewPressed(std::uint16_t aMask) const
{
    return (myState.gamepad.buttons & aMask) != 0 && (myPreviousState.gamepad.buttons & aMask) == 0;
}

bool XInputController::IsReleased(std::uint16_t aMask) const
{
    return (myState.gamepad.buttons & aMask) == 0 && (myPreviousState.gamepad.buttons & aMask) != 0;
}
} // namespace Qel
