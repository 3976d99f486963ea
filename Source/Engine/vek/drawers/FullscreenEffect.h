// A full-screen effect: one pixel shader run over the whole current target by a single covering
// triangle made in the vertex shader from the vertex index, with no vertex or index buffer. Whoever
// applies a plain effect binds its input texture (t0) and its target first; the effect binds neither.
// The pixelate effect brings its own input texture, sized to the back buffer at Init, and sends its
// block size and the render size at b13. Created and owned by the graphics engine. Main thread.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "Platform/Gfx/Resources.h"
#include "Platform/Gfx/Types.h"
#include "vek/graphics/RenderTarget.h"

#include <cstdint>
#include <optional>

namespace Qel
{
struct VertexShaderEntry;
struct PixelShaderEntry;

class FullscreenEffect
{
public:
    FullscreenEffect() = default;
    virtual ~FullscreenEffect() = default;
    FullscreenEffect(const FullscreenEffect&) = delete;
    FullscreenEffect& operator=(const FullscreenEffect&) = delete;

    // The shared vertex shader and the named pixel shader from the device's caches; false when either
    // is missing.
    virtual bool Init(const char* aPixelShaderName);
    // Sends the render state and draws the covering triangle; nothing when Init failed.
    virtual void Render();

    bool IsReady() const { return myVertexShader != nullptr && myPixelShader != nullptr; }

protected:
    // Cached by the device for the whole run; not owned.
    VertexShaderEntry* myVertexShader = nullptr;
    PixelShaderEntry* myPixelShader = nullptr;
};

// The 16 bytes the pixelate shader reads at b13.
struct PixelateConstants
{
    float pixelSize = 0.0f;
    std::uint32_t renderWidth = 0;
    std::uint32_t renderHeight = 0;
    std::uint32_t padding = 0;
};
static_assert(sizeof(PixelateConstants) == 16);

class FullscreenPixelateEffect : public FullscreenEffect
{
public:
    FullscreenPixelateEffect() = default;
    ~FullscreenPixelateEffect() override;

    // Its constant buffer and a texture the back buffer's size and format with its views, then the base
    // Init. False when any of them cannot be made.
    bool Init(const char* aPixelShaderName) override;
    // Onto the back buffer, without depth, reading this effect's own texture. A failed map draws nothing.
    void Render() override;

    // The block size and the render size as the next Render sends them.
    PixelateConstants MakeConstants() const;

    // Where callers draw the picture to pixelate.
    const RenderTarget& GetRenderTarget() const { return myRenderTarget; }
    const Platform::Gfx::Texture2DPtr& GetTexture() const { return myTexture; }

    float myPixelSize = 16.0f;

private:
    Platform::Gfx::Texture2DPtr myTexture;
    Platform::Gfx::ShaderResourceViewPtr myShaderResourceView;
    // The texture's render-target view with its viewport (0, 0, texture size, depth 0 to 1).
    RenderTarget myRenderTarget;
    Platform::Gfx::BufferPtr myConstantBuffer;
};
} // namespace Qel
