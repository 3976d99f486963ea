// The start-up splash's place above the title, until the splash itself is built: with no logos to show
// it is done on its first update, so the stack removes it on the next one and the menu music starts.
// Main thread only.
#pragma once

#include "Menu/PlaceholderState.h"

class SplashMenu : public PlaceholderState
{
public:
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
};
