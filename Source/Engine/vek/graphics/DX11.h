// The one graphics device of the process with its immediate context, the game window's swap chain, the
// back-buffer target (written through an sRGB view) and the depth buffer every frame draws into, plus
// the process-wide caches of compiled vertex and pixel shaders (".cso" files under the cooked root).
//
// Threads: the thread that completes Init is the main thread; only it clears, binds, presents and
// resizes. Other threads may create resources through the device and use the shader caches, which are
// locked. The engine owns the one instance; other code reaches the device, context and targets through
// the static accessors, which are null before Init and after destruction.
#pragma once

#include "Platform/Gfx/Factory.h"
#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/graphics/DepthBuffer.h"
#include "vek/graphics/RenderTarget.h"

#include <optional>
#include <span>
#include <string>

namespace Qel
{
class WindowHandler;

struct PixelShaderEntry
{
    Platform::Gfx::ShaderPtr shader;
};

struct VertexShaderEntry
{
    Platform::Gfx::ShaderPtr shader;
    // The whole ".cso" file; input layouts are checked against it.
    std::string bytecode;
};

class DX11
{
public:
    DX11();
    ~DX11();
    DX11(const DX11&) = delete;
    DX11& operator=(const DX11&) = delete;

    // Device, context and swap chain on the window, then the targets, bound. False on failure, with a
    // "[DX11]" line saying why.
    bool Init(WindowHandler& aWindow);
    // Clears the back buffer to the sRGB-authored colour and the depth buffer to 1, then binds the back
    // buffer without depth. Does nothing while the back buffer is empty (after a failed resize).
    void BeginFrame(const Color& aClearColor);
    // Presents, waiting for the display's refresh when vsync is on. Nothing is presented while the back
    // buffer is empty.
    void EndFrame(bool aVsync);
    // Rebuilds both targets at the window's size. A window with a zero side (minimised) gives false and
    // keeps the targets as they are; a failed rebuild gives false with the targets empty.
    bool Resize();

    // The back buffer's size in pixels; (0, 0) without one.
    static Vector2<int> GetResolution();
    static bool IsOnMainThread();
    static bool IsCreated();

    static Platform::Gfx::Device* GetDevice();
    static Platform::Gfx::Context* GetContext();
    static Platform::Gfx::SwapChain* GetSwapChain();
    static RenderTarget* GetBackBuffer();
    static DepthBuffer* GetDepthBuffer();

    // The cached entry for a name (without ".cso"), loading it first when it is not cached; null when
    // loading fails, and a failed name is never cached.
    static PixelShaderEntry* GetPixelShader(const char* aName);
    static VertexShaderEntry* GetVertexShader(const char* aName);
    // Loads (again) and replaces the entry's shader; null, and the entry gone, on failure.
    static PixelShaderEntry* LoadPixelShader(const char* aName);
    static VertexShaderEntry* LoadVertexShader(const char* aName);
    // The name a cached pixel shader was loaded under; empty for one the cache does not hold.
    static std::string GetPixelShaderName(const Platform::Gfx::Shader* aShader);

    // The adapter whose description names NVIDIA or ATI and has the most dedicated memory, else the first;
    // empty when there is no adapter.
    static std::optional<std::size_t>
    FindBestAdapter(std::span<const Platform::Gfx::AdapterDesc> someAdapters);

private:
    bool CreateTargets();
    void Publish();

    Platform::Gfx::DevicePtr myDevice;
    Platform::Gfx::ContextPtr myContext;
    Platform::Gfx::SwapChainPtr mySwapChain;
    RenderTarget myBackBuffer;
    DepthBuffer myDepthBuffer;
};
} // namespace Qel
