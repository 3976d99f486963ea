// The title screen's place at the bottom of the stack, until the title menu itself is built: it sets
// the title code whenever it starts, draws nothing, opens the credits on Enter or pad A (as the title
// menu's Credits button will), quits the game on Escape or pad B (as its Quit button will), and starts
// the credits film whenever it starts with the stack's play-credits-video flag set. Main thread only.
#pragma once

#include "Menu/PlaceholderState.h"

class MainMenu : public PlaceholderState
{
public:
    MainMenu();

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;

    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
};
