// The immediate context: binds the output targets and the viewport, clears, and reads rendered pixels
// back. Main thread only; calls from another thread do nothing. Bound views are held by reference, as
// the bound state of the device it stands in for held them.
//
// Rendered targets are stored as GL draws them, bottom row first; the read-back and the present turn
// them upright, so callers think of row 0 as the top of the screen throughout.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/Resources.h"
#include "Platform/Gfx/Types.h"

#include <cstdint>
#include <vector>

namespace Platform::Gfx
{
class Context
{
public:
    explicit Context(DeviceCorePtr aCore);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // One colour target (or none) and a depth target (or none).
    void SetRenderTargets(const RenderTargetViewPtr& aTarget, const DepthStencilViewPtr& aDepth);
    void SetViewport(const Viewport& aViewport);
    // Clears ignore the colour and depth write masks and the scissor, as the engine expects.
    void ClearRenderTargetView(const RenderTargetViewPtr& aTarget, const float someColor[4]);
    void ClearDepthStencilView(const DepthStencilViewPtr& aDepth, std::uint32_t someFlags, float aDepthValue,
                               std::uint8_t aStencil);
    // Unbinds every target and forgets the viewport.
    void ClearState();
    void Flush();

    const RenderTargetViewPtr& GetBoundTarget() const { return myTarget; }
    const DepthStencilViewPtr& GetBoundDepth() const { return myDepth; }
    const Viewport& GetViewport() const { return myViewport; }

    // The pixels of a colour texture that was rendered to, as 8-bit RGBA with the top row first (the
    // stored, encoded bytes of an sRGB target), or of a depth texture as floats, top row first.
    std::vector<std::uint8_t> ReadColorPixels(const Texture2DPtr& aTexture);
    std::vector<float> ReadDepthPixels(const Texture2DPtr& aTexture);

    const DeviceCorePtr& GetCore() const { return myCore; }

private:
    void ApplyViewport();

    DeviceCorePtr myCore;
    unsigned int myDrawFramebuffer = 0;
    unsigned int myClearFramebuffer = 0;
    RenderTargetViewPtr myTarget;
    DepthStencilViewPtr myDepth;
    Viewport myViewport;
};

using ContextPtr = std::shared_ptr<Context>;
} // namespace Platform::Gfx
