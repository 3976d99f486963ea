// Brings a state stack to a given size with states that do nothing, so tests can make the world draw
// and update as it does under the menus.
#pragma once

#include "Base/InputHandler.h"
#include "Game/Support/PlaceholderState.h"
#include "Menu/StateStack.h"

namespace GameTest
{
// Stacks placeholder states until the stack holds aCount, or pops down to aCount at once.
inline void StackStates(StateStack& aStack, int aCount)
{
    while (aStack.GetSize() < aCount)
    {
        aStack.PushState(new PlaceholderState());
    }
    if (aStack.GetSize() > aCount)
    {
        aStack.PopToIndex(aCount - 1);
        InputHandler input;
        aStack.Update(input);
    }
}
} // namespace GameTest
