#include "Platform/Pad/SdlPadBackend.h"

#include "Platform/Pad/PadMapping.h"

#include <SDL.h>

#include <iostream>

namespace Platform
{
namespace
{
bool IsSdlStillUp()
{
    return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
}
} // namespace

SdlPadBackend::SdlPadBackend()
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    {
        std::cout << "[Pad] Game controllers are unavailable: " << SDL_GetError() << std::endl;
        return;
    }
    myIsReady = true;
    SDL_AddEventWatch(&SdlPadBackend::OnEvent, this);
}

SdlPadBackend::~SdlPadBackend()
{
    if (!myIsReady)
    {
        return;
    }
    // After a full SDL_Quit the controllers are closed already and their pointers are gone.
    if (!IsSdlStillUp())
    {
        return;
    }
    SDL_DelEventWatch(&SdlPadBackend::OnEvent, this);
    for (Slot& slot : mySlots)
    {
        CloseSlot(slot);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SdlPadBackend::OnEvent(void* aUserData, SDL_Event* aEvent)
{
    switch (aEvent->type)
    {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
        static_cast<SdlPadBackend*>(aUserData)->myDevicesChanged = true;
        break;
    default:
        break;
    }
    return 0;
}

void SdlPadBackend::CloseSlot(Slot& aSlot)
{
    if (aSlot.controller != nullptr)
    {
        SDL_GameControllerClose(aSlot.controller);
    }
    aSlot = Slot();
}

void SdlPadBackend::UpdateSlots()
{
    if (!myDevicesChanged.exchange(false))
    {
        return;
    }
    for (Slot& slot : mySlots)
    {
        if (slot.controller != nullptr && !SDL_GameControllerGetAttached(slot.controller))
        {
            CloseSlot(slot);
        }
    }
    const int deviceCount = SDL_NumJoysticks();
    for (int device = 0; device < deviceCount; ++device)
    {
        if (!SDL_IsGameController(device))
        {
            continue;
        }
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        bool isOpen = false;
        Slot* freeSlot = nullptr;
        for (Slot& slot : mySlots)
        {
            isOpen = isOpen || (slot.controller != nullptr && slot.instanceId == id);
            if (freeSlot == nullptr && slot.controller == nullptr)
            {
                freeSlot = &slot;
            }
        }
        if (isOpen || freeSlot == nullptr)
        {
            continue;
        }
        if (SDL_GameController* controller = SDL_GameControllerOpen(device))
        {
            freeSlot->controller = controller;
            freeSlot->instanceId = id;
        }
    }
}

bool SdlPadBackend::GetState(std::uint32_t aIndex, PadState& outState)
{
    outState = PadState();
    if (!myIsReady || aIndex >= PAD_SLOT_COUNT)
    {
        return false;
    }
    if (!IsSdlStillUp())
    {
        // SDL was shut down under us and closed the controllers itself.
        mySlots = {};
        myIsReady = false;
        return false;
    }
    UpdateSlots();
    Slot& slot = mySlots[aIndex];
    if (slot.controller == nullptr)
    {
        return false;
    }
    if (!SDL_GameControllerGetAttached(slot.controller))
    {
        CloseSlot(slot);
        myDevicesChanged = true;
        return false;
    }

    SdlPadReading reading;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
    {
        if (SDL_GameControllerGetButton(slot.controller, static_cast<SDL_GameControllerButton>(button)) != 0)
        {
            reading.heldButtons |= std::uint32_t{1} << button;
        }
    }
    reading.leftX = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_LEFTX);
    reading.leftY = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_LEFTY);
    reading.rightX = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_RIGHTX);
    reading.rightY = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_RIGHTY);
    reading.leftTrigger = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    reading.rightTrigger = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);

    const PadGamepad gamepad = ToPadGamepad(reading);
    if (!(gamepad == slot.lastGamepad))
    {
        slot.lastGamepad = gamepad;
        ++slot.packetNumber;
    }
    outState.packetNumber = slot.packetNumber;
    outState.gamepad = gamepad;
    return true;
}

PadBackend& GetDefaultPadBackend()
{
    static SdlPadBackend backend;
    return backend;
}
} // namespace Platform
