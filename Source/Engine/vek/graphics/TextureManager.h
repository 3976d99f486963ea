// The texture cache. This first form is created and initialised at its place in the engine's start
// and holds no textures yet; loading, the built-in textures and reloading come with the texture loaders.
// Main thread.
#pragma once

namespace Qel
{
class TextureManager
{
public:
    TextureManager() = default;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Where the built-in textures are made; there are none yet.
    void Init() { myIsInitialized = true; }
    bool IsInitialized() const { return myIsInitialized; }

private:
    bool myIsInitialized = false;
};
} // namespace Qel
