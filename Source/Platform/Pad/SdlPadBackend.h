// Pads 0 to 3 over SDL's game controllers. Each slot holds one opened controller; a controller that
// is unplugged frees its slot and a new one takes the first free slot. Device changes are noticed
// through an SDL event watch and acted on at the next read, so a read without changes opens
// nothing. Values move when SDL's events are pumped (the window layer does that once a frame).
// Main thread only, as SDL's controller calls are.
#pragma once

#include "Platform/Pad/PadBackend.h"

#include <array>
#include <atomic>
#include <cstdint>

struct _SDL_GameController;
union SDL_Event;

namespace Platform
{
class SdlPadBackend final : public PadBackend
{
public:
    SdlPadBackend();
    ~SdlPadBackend() override;
    SdlPadBackend(const SdlPadBackend&) = delete;
    SdlPadBackend& operator=(const SdlPadBackend&) = delete;

    bool IsReady() const { return myIsReady; }
    bool GetState(std::uint32_t aIndex, PadState& outState) override;

private:
    struct Slot
    {
        _SDL_GameController* controller = nullptr;
        std::int32_t instanceId = -1;
        PadGamepad lastGamepad;
        std::uint32_t packetNumber = 0;
    };

    static int OnEvent(void* aUserData, SDL_Event* aEvent);
    void CloseSlot(Slot& aSlot);
    void UpdateSlots();

    std::array<Slot, PAD_SLOT_COUNT> mySlots;
    std::atomic<bool> myDevicesChanged{true};
    bool myIsReady = false;
};
} // namespace Platform
