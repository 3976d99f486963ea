// A virtual game controller for tests, which SDL maps like any real one: axes and buttons in SDL's own
// order. Values reach readers once SDL's events are pumped.
#pragma once

#include <SDL.h>

class VirtualPad
{
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
        desc.button_mask = (1u << desc.nbuttons) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Test pad";
        myDevice = SDL_JoystickAttachVirtualEx(&desc);
        if (myDevice >= 0)
        {
            myJoystick = SDL_JoystickOpen(myDevice);
        }
        SDL_PumpEvents();
    }

    ~VirtualPad() { Unplug(); }

    bool IsAttached() const { return myJoystick != nullptr; }

    void Set(SDL_GameControllerAxis aAxis, Sint16 aValue)
    {
        SDL_JoystickSetVirtualAxis(myJoystick, aAxis, aValue);
    }
    void Set(SDL_GameControllerButton aButton, bool aIsHeld)
    {
        SDL_JoystickSetVirtualButton(myJoystick, aButton, aIsHeld ? 1 : 0);
    }

    // After SDL_Quit the joystick is gone already.
    void Forget() { myJoystick = nullptr; }

    void Unplug()
    {
        if (myJoystick != nullptr)
        {
            SDL_JoystickClose(myJoystick);
            myJoystick = nullptr;
            SDL_JoystickDetachVirtual(myDevice);
            SDL_PumpEvents();
        }
    }

private:
    int myDevice = -1;
    SDL_Joystick* myJoystick = nullptr;
};
