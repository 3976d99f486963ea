#include "Components/SceneGraphics.h"

#include "vek/Core/Engine.h"

namespace
{
Qel::GraphicsEngine* ourSceneGraphics = nullptr;
}

Qel::GraphicsEngine* GetSceneGraphics()
{
    if (ourSceneGraphics != nullptr)
    {
        return ourSceneGraphics;
    }
    Qel::Engine* engine = Qel::Engine::GetInstance();
    return engine != nullptr ? engine->GetGraphicsEngine() : nullptr;
}

void SetSceneGraphics(Qel::GraphicsEngine* aGraphics)
{
    ourSceneGraphics = aGraphics;
}
