// Fills the game-object factory with the game's builders: the mesh-only default and one builder per
// tag. Called once by the world's Init, on the main thread, before any scene loads.
#pragma once

void RegisterGameObjectFactories();
