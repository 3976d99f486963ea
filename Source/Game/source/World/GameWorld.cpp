#include "World/GameWorld.h"

#include "vek/Core/Engine.h"

void GameWorld::Init()
{
    if (Qel::Engine* engine = Qel::Engine::GetInstance(); engine != nullptr && engine->GetHWND() != nullptr)
    {
        myInput.SetWindowHandle(*engine->GetHWND());
    }
}

void GameWorld::Update(StateStack& aStateStack)
{
    static_cast<void>(aStateStack);
    myTimer.Update();
    myInput.Update();
    ++myUpdateCount;
}

void GameWorld::Render()
{
}

void GameWorld::UnloadScene()
{
}

void GameWorld::ReloadScene()
{
}
