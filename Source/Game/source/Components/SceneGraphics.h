// The graphics engine the level draws with: the running engine's, unless one is set in its place (a
// drawing test without a whole engine). Main thread.
#pragma once

namespace Qel
{
class GraphicsEngine;
}

// Null when there is neither.
Qel::GraphicsEngine* GetSceneGraphics();
// Null goes back to the running engine's.
void SetSceneGraphics(Qel::GraphicsEngine* aGraphics);
