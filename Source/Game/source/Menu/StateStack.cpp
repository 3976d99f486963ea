#include "Menu/StateStack.h"

namespace
{
StateStack* theInstance = nullptr;
}

StateStack::~StateStack()
{
    if (theInstance == this)
    {
        theInstance = nullptr;
    }
}

void StateStack::Init()
{
    theInstance = this;
}

bool StateStack::Update(InputHandler& aInput)
{
    static_cast<void>(aInput);
    return true;
}

void StateStack::Render()
{
}

StateStack* StateStack::GetInstance()
{
    return theInstance;
}
