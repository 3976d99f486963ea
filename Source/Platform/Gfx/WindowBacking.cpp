#include "Platform/Gfx/WindowBacking.h"

#include "Platform/Window/Window.h"

#include <dlfcn.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace Platform::Gfx
{
namespace
{
// A copy between the window and a texture moves the stored bytes: no sRGB encode, no scissor.
class RawCopyState
{
public:
    RawCopyState() : myScissor(glIsEnabled(GL_SCISSOR_TEST))
    {
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_FRAMEBUFFER_SRGB);
    }
    ~RawCopyState()
    {
        glEnable(GL_FRAMEBUFFER_SRGB);
        if (myScissor == GL_TRUE)
        {
            glEnable(GL_SCISSOR_TEST);
        }
    }
    RawCopyState(const RawCopyState&) = delete;
    RawCopyState& operator=(const RawCopyState&) = delete;

private:
    GLboolean myScissor;
};

// Whether the window's framebuffer stores what the layer's targets would: sRGB-encoded 8-bit colour and a
// 32-bit depth, so the picture does not change with where it is drawn. A window on a display has no
// alpha (the window asks for it only off screen); nothing blends by the target's alpha, so only a
// read-back of the back buffer can tell.
bool IsWindowFramebufferUsable()
{
    GLint encoding = 0;
    GLint red = 0;
    GLint depth = 0;
    glGetNamedFramebufferAttachmentParameteriv(0, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_COLOR_ENCODING,
                                               &encoding);
    glGetNamedFramebufferAttachmentParameteriv(0, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE, &red);
    glGetNamedFramebufferAttachmentParameteriv(0, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depth);
    return encoding == GL_SRGB && red == 8 && depth == 32;
}
// Whether the window's framebuffer really has aWindow's drawable size. Some drivers keep a surface at
// the size it was made with whatever the window's size says later; for them the frame is copied, and
// scaled as the window's size asks.
bool HasDrawableSize(Window& aWindow)
{
    const WindowSize drawable = aWindow.GetDrawableSize();
    // Asking for an EGL context where none can be loads the EGL library, which costs the start-up time.
    void* egl = dlopen("libEGL.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (egl == nullptr)
    {
        return true;
    }
    dlclose(egl);
    if (eglGetCurrentContext() == EGL_NO_CONTEXT)
    {
        return true;
    }
    EGLint width = 0;
    EGLint height = 0;
    const EGLDisplay display = eglGetCurrentDisplay();
    const EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    return eglQuerySurface(display, surface, EGL_WIDTH, &width) == EGL_TRUE &&
           eglQuerySurface(display, surface, EGL_HEIGHT, &height) == EGL_TRUE && width == drawable.width &&
           height == drawable.height;
}
} // namespace

WindowBacking::WindowBacking(DeviceCorePtr aCore, PendingClearsPtr aClears)
    : myCore(std::move(aCore)), myClears(std::move(aClears))
{
    glCreateFramebuffers(1, &myCopyFramebuffer);
    myIsWindowUsable = IsWindowFramebufferUsable();
}

WindowBacking::~WindowBacking()
{
    myCore->ReleaseGlObject(GlObjectKind::Framebuffer, myCopyFramebuffer);
    if (myDepthPixels != 0)
    {
        myCore->ReleaseGlObject(GlObjectKind::Buffer, myDepthPixels);
    }
}

void WindowBacking::SetBuffer(Window* aWindow, const Texture2DPtr& aBuffer)
{
    myWindow = aWindow != nullptr && aBuffer != nullptr && HasDrawableSize(*aWindow) ? aWindow : nullptr;
    myBuffer = aBuffer;
    myDepth.reset();
    myIsColourInWindow = false;
    ++myGeneration;
    Publish();
}

bool WindowBacking::BindForDrawing(const RenderTargetViewPtr& aTarget, const DepthStencilViewPtr& aDepth)
{
    const Texture2DPtr buffer = myBuffer.lock();
    if (!myIsWindowUsable || buffer == nullptr || myWindow == nullptr || aTarget == nullptr ||
        aTarget->GetTexture() != buffer || !IsSrgb(aTarget->GetFormat()))
    {
        return false;
    }
    const WindowSize size = myWindow->GetDrawableSize();
    const Texture2DDesc& desc = buffer->GetDesc();
    if (size.width != static_cast<int>(desc.width) || size.height != static_cast<int>(desc.height) ||
        (aDepth != nullptr && !CanPairDepth(aDepth)))
    {
        return false;
    }
    if (!myIsColourInWindow)
    {
        // A clear waiting for the buffer replaces every pixel, so there is nothing to copy over.
        if (!myClears->HasClear(buffer.get()))
        {
            PushColour();
        }
        myIsColourInWindow = true;
    }
    if (aDepth != nullptr)
    {
        const Texture2DPtr previous = myDepth.lock();
        if (previous != aDepth->GetTexture())
        {
            if (previous != nullptr)
            {
                myClears->Settle(previous.get());
                PullDepth(*previous);
            }
            myDepth = aDepth->GetTexture();
        }
    }
    Publish();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    return true;
}

bool WindowBacking::CanPairDepth(const DepthStencilViewPtr& aDepth) const
{
    const Texture2DPtr& texture = aDepth->GetTexture();
    const Texture2DPtr buffer = myBuffer.lock();
    if (aDepth->GetFormat() != Format::D32_FLOAT || buffer == nullptr ||
        texture->GetDesc().width != buffer->GetDesc().width ||
        texture->GetDesc().height != buffer->GetDesc().height)
    {
        return false;
    }
    // The window's depth can take over a depth texture only when no pixel of the texture survives:
    // writing a texture's depth into the window would need a draw of its own.
    return texture == myDepth.lock() || myClears->HasClear(texture.get());
}

void WindowBacking::MakeTextureCurrent(const Texture2D* aTexture)
{
    // Called for every bound texture of every draw: the addresses are compared before anything is locked.
    if (aTexture == nullptr ||
        (aTexture != myDepthAddress && (!myIsColourInWindow || aTexture != myBufferAddress)))
    {
        return;
    }
    const Texture2DPtr buffer = myBuffer.lock();
    if (myIsColourInWindow && aTexture == buffer.get())
    {
        myClears->Settle(aTexture);
        PullColour();
        myIsColourInWindow = false;
        Publish();
        return;
    }
    const Texture2DPtr depth = myDepth.lock();
    if (depth != nullptr && aTexture == depth.get())
    {
        myClears->Settle(aTexture);
        PullDepth(*depth);
        myDepth.reset();
        Publish();
    }
}

void WindowBacking::OnTextureWritten(const Texture2D* aTexture)
{
    const Texture2DPtr buffer = myBuffer.lock();
    if (myIsColourInWindow && aTexture == buffer.get())
    {
        myIsColourInWindow = false;
        ++myGeneration;
        Publish();
    }
}

void WindowBacking::PullColour()
{
    CopyColour(false);
    ++myGeneration;
}

void WindowBacking::PushColour()
{
    myClears->Settle(myBuffer.lock().get());
    CopyColour(true);
}

void WindowBacking::CopyColour(bool anIntoWindow)
{
    const Texture2DPtr buffer = myBuffer.lock();
    const GLint width = static_cast<GLint>(buffer->GetDesc().width);
    const GLint height = static_cast<GLint>(buffer->GetDesc().height);
    const RawCopyState state;
    glNamedFramebufferTexture(myCopyFramebuffer, GL_COLOR_ATTACHMENT0, buffer->Realise(), 0);
    if (anIntoWindow)
    {
        glNamedFramebufferReadBuffer(myCopyFramebuffer, GL_COLOR_ATTACHMENT0);
    }
    else
    {
        glNamedFramebufferDrawBuffer(myCopyFramebuffer, GL_COLOR_ATTACHMENT0);
    }
    const GLuint from = anIntoWindow ? myCopyFramebuffer : 0;
    const GLuint to = anIntoWindow ? 0 : myCopyFramebuffer;
    glBlitNamedFramebuffer(from, to, 0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                           GL_NEAREST);
    glNamedFramebufferTexture(myCopyFramebuffer, GL_COLOR_ATTACHMENT0, 0, 0);
}

void WindowBacking::PullDepth(Texture2D& aDepth)
{
    // Through a pixel buffer: a blit cannot copy between the window's fixed-point depth and the
    // texture's float depth.
    const GLsizei width = static_cast<GLsizei>(aDepth.GetDesc().width);
    const GLsizei height = static_cast<GLsizei>(aDepth.GetDesc().height);
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(width) * height * static_cast<GLsizeiptr>(sizeof(float));
    if (myDepthPixels == 0)
    {
        glCreateBuffers(1, &myDepthPixels);
    }
    glNamedBufferData(myDepthPixels, bytes, nullptr, GL_STREAM_COPY);
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, myDepthPixels);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, myDepthPixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTextureSubImage2D(aDepth.Realise(), 0, 0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    ++myGeneration;
}

void WindowBacking::Publish()
{
    const Texture2DPtr buffer = myBuffer.lock();
    const Texture2DPtr depth = myDepth.lock();
    myBufferAddress = buffer.get();
    myDepthAddress = depth.get();
    myClears->SetWindowResident(myIsColourInWindow ? buffer.get() : nullptr, depth.get());
}
} // namespace Platform::Gfx
