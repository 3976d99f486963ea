// One game pad, held by value by its owner (the player, the menus). Refresh once a frame keeps the
// previous reading for edge tests, turns the sticks into dead-zoned values from -1 to 1 and the
// triggers into 0 to 1, and finds a pad again after the one in use is lost. Reads go through a pad
// backend (SDL by default) that must outlive the controller. Main thread only.
#pragma once

#include "Platform/Pad/PadBackend.h"
#include "Platform/Pad/PadState.h"

#include <cstdint>

namespace Qel
{
class XInputController
{
public:
    static constexpr std::uint32_t NO_PAD = 0xFFFFFFFF;

    XInputController();
    explicit XInputController(Platform::PadBackend& aBackend);

    // Takes the first of pads 0 to 3 that answers; false when none does.
    bool Connect();
    // False when no pad could be read. A pad lost this frame reports its held buttons released once;
    // while no pad is connected every button, stick and trigger reads as zero.
    bool Refresh();

    // Some bit of the mask is held now.
    bool IsPressed(std::uint16_t aMask) const;
    // Some bit is held now and none was at the previous refresh.
    bool IsNewPressed(std::uint16_t aMask) const;
    // No bit is held now and some bit was before.
    bool IsReleased(std::uint16_t aMask) const;

    std::uint32_t GetPadIndex() const { return myPadIndex; }
    const Platform::PadState& GetState() const { return myState; }
    const Platform::PadState& GetPreviousState() const { return myPreviousState; }

    // Read directly by the owners.
    float leftStickX = 0.0f;
    float leftStickY = 0.0f;
    float rightStickX = 0.0f;
    float rightStickY = 0.0f;
    float leftTrigger = 0.0f;
    float rightTrigger = 0.0f;
    float deadZoneX = 0.05f;
    float deadZoneY = 0.02f;

    // One stick axis from -32768..32767 to -1..1, with the dead zone taken out and the rest stretched
    // so that full deflection still gives 1.
    static float ConvertAxis(std::int16_t aAxis, float aDeadZone);

private:
    void ClearValues();

    Platform::PadBackend* myBackend;
    std::uint32_t myPadIndex = 0;
    Platform::PadState myState;
    Platform::PadState myPreviousState;
};
} // namespace Qel
