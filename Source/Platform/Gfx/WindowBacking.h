// Where the back buffer's pixels live. Drawing the frame straight into the window's framebuffer saves
// the full-screen copy at every present, which the software rasteriser draws like any other pass. The
// back buffer's texture and the depth texture bound with it stay the resources callers hold; while
// their pixels are in the window, whatever reads, samples or writes the texture first gets them back
// (rare), and a texture that cannot pair with the window (another size, a plain view, a depth buffer
// holding pixels of its own) is drawn as a texture and copied at the present. Main thread.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/PendingClears.h"
#include "Platform/Gfx/Resources.h"

#include <cstdint>
#include <memory>

namespace Platform
{
class Window;
}

namespace Platform::Gfx
{
class WindowBacking
{
public:
    WindowBacking(DeviceCorePtr aCore, PendingClearsPtr aClears);
    ~WindowBacking();
    WindowBacking(const WindowBacking&) = delete;
    WindowBacking& operator=(const WindowBacking&) = delete;

    // The swap chain's new buffer for aWindow, or none; its pixels start in the texture. A window whose
    // framebuffer is not the buffer's size is not drawn into.
    void SetBuffer(Window* aWindow, const Texture2DPtr& aBuffer);

    // Binds the window's framebuffer for drawing when the pair can be drawn there, moving the pixels
    // of both into the window; false, and nothing bound, when they cannot.
    bool BindForDrawing(const RenderTargetViewPtr& aTarget, const DepthStencilViewPtr& aDepth);
    // Before the texture is read, sampled or attached elsewhere: its pixels are brought back from the
    // window when they are only there.
    void MakeTextureCurrent(const Texture2D* aTexture);
    // After the texture's own pixels were written: what the window holds of it is stale.
    void OnTextureWritten(const Texture2D* aTexture);

    // Whether the frame to show is in the window, so the present shows it as it is.
    bool IsBufferInWindow() const { return myIsColourInWindow; }
    // The framebuffer's depth size and colour encoding allow it to stand in for the targets at all.
    bool IsWindowUsable() const { return myIsWindowUsable; }
    // Changes whenever pixels leave the window, so a context drawing there knows to bind again.
    std::uint64_t GetGeneration() const { return myGeneration; }

private:
    bool CanPairDepth(const DepthStencilViewPtr& aDepth) const;
    void PullColour();
    void PullDepth(Texture2D& aDepth);
    void PushColour();
    // The buffer's colour pixels, raw, from the texture into the window or back.
    void CopyColour(bool anIntoWindow);
    void Publish();

    DeviceCorePtr myCore;
    PendingClearsPtr myClears;
    Window* myWindow = nullptr;
    std::weak_ptr<Texture2D> myBuffer;
    // The depth texture whose pixels are the window's depth, while they are.
    std::weak_ptr<Texture2D> myDepth;
    // Of the two above when last published; only compared, never followed.
    const Texture2D* myBufferAddress = nullptr;
    const Texture2D* myDepthAddress = nullptr;
    // The colour pixels are in the window or in the texture, never both: a copy back moves them.
    bool myIsColourInWindow = false;
    bool myIsWindowUsable = false;
    std::uint64_t myGeneration = 0;
    unsigned int myCopyFramebuffer = 0;
    unsigned int myDepthPixels = 0;
};

using WindowBackingPtr = std::shared_ptr<WindowBacking>;
} // namespace Platform::Gfx
