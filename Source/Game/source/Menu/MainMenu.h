// The title screen's place at the bottom of the stack, until the title menu itself is built: it sets
// the title code whenever it starts, draws nothing, and quits the game on Escape or pad B (as the title
// menu's Quit button will). Main thread only.
#pragma once

#include "Menu/PlaceholderState.h"

class MainMenu : public PlaceholderState
{
public:
    MainMenu();

    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
};
