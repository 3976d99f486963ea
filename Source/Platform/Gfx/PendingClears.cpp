#include "Platform/Gfx/PendingClears.h"

#include <algorithm>
#include <epoxy/gl.h>

namespace Platform::Gfx
{
namespace
{
// Masks a clear must ignore; restored afterwards so the pipeline state the caller set stays.
class ClearMaskOverride
{
public:
    ClearMaskOverride()
    {
        glGetBooleanv(GL_COLOR_WRITEMASK, myColor);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &myDepth);
        myScissor = glIsEnabled(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_TRUE);
        glDisable(GL_SCISSOR_TEST);
    }
    ~ClearMaskOverride()
    {
        glColorMask(myColor[0], myColor[1], myColor[2], myColor[3]);
        glDepthMask(myDepth);
        if (myScissor == GL_TRUE)
        {
            glEnable(GL_SCISSOR_TEST);
        }
    }
    ClearMaskOverride(const ClearMaskOverride&) = delete;
    ClearMaskOverride& operator=(const ClearMaskOverride&) = delete;

private:
    GLboolean myColor[4] = {};
    GLboolean myDepth = GL_TRUE;
    GLboolean myScissor = GL_FALSE;
};
// This driver drops a clear-buffer call on the window's colour buffer, so the window's colour is
// cleared the older way, with the window bound and the clear colour set.
void ClearFramebuffer(unsigned int aFramebuffer, bool anIsDepth, const float someValues[4])
{
    if (aFramebuffer != 0 || anIsDepth)
    {
        glClearNamedFramebufferfv(aFramebuffer, anIsDepth ? GL_DEPTH : GL_COLOR, 0, someValues);
        return;
    }
    GLint drawFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClearColor(someValues[0], someValues[1], someValues[2], someValues[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
}
} // namespace

PendingClears::PendingClears(DeviceCorePtr aCore) : myCore(std::move(aCore))
{
    glCreateFramebuffers(1, &myFramebuffer);
}

PendingClears::~PendingClears()
{
    myEntries.clear();
    myCore->ReleaseGlObject(GlObjectKind::Framebuffer, myFramebuffer);
}

void PendingClears::AddColor(const RenderTargetViewPtr& aView, const float someColor[4])
{
    Add({aView, false, {someColor[0], someColor[1], someColor[2], someColor[3]}});
}

void PendingClears::AddDepth(const DepthStencilViewPtr& aView, float aDepth)
{
    Add({aView, true, {aDepth, 0.0f, 0.0f, 0.0f}});
}

void PendingClears::Add(Entry anEntry)
{
    const Texture2D* texture = anEntry.view->GetTexture().get();
    std::erase_if(myEntries,
                  [texture](const Entry& anOld) { return anOld.view->GetTexture().get() == texture; });
    myEntries.push_back(std::move(anEntry));
}

bool PendingClears::HasClear(const Texture2D* aTexture) const
{
    return std::any_of(myEntries.begin(), myEntries.end(),
                       [aTexture](const Entry& anEntry)
                       { return anEntry.view->GetTexture().get() == aTexture; });
}

void PendingClears::SetWindowResident(const Texture2D* aColour, const Texture2D* aDepth)
{
    myWindowColour = aColour;
    myWindowDepth = aDepth;
}

void PendingClears::Settle(const Texture2D* aTexture)
{
    for (auto at = myEntries.begin(); at != myEntries.end(); ++at)
    {
        if (at->view->GetTexture().get() == aTexture)
        {
            const Entry entry = std::move(*at);
            myEntries.erase(at);
            ClearOwnFramebuffer(entry);
            return;
        }
    }
}

void PendingClears::SettleAll()
{
    std::vector<Entry> entries;
    entries.swap(myEntries);
    for (const Entry& entry : entries)
    {
        ClearOwnFramebuffer(entry);
    }
}

void PendingClears::ApplyToBound(unsigned int aFramebuffer, const RenderTargetViewPtr& aTarget,
                                 const DepthStencilViewPtr& aDepth)
{
    const Texture2D* colourTexture = aTarget != nullptr ? aTarget->GetTexture().get() : nullptr;
    const Texture2D* depthTexture = aDepth != nullptr ? aDepth->GetTexture().get() : nullptr;
    std::vector<Entry> onBound;
    for (auto at = myEntries.begin(); at != myEntries.end();)
    {
        const Texture2D* texture = at->view->GetTexture().get();
        if (texture == nullptr || (texture != colourTexture && texture != depthTexture))
        {
            ++at;
            continue;
        }
        onBound.push_back(std::move(*at));
        at = myEntries.erase(at);
    }
    for (const Entry& entry : onBound)
    {
        TextureView* bound = entry.isDepth ? static_cast<TextureView*>(aDepth.get()) : aTarget.get();
        // The same GL name is the same attachment in the same format.
        if (bound == nullptr || bound->GetTexture() != entry.view->GetTexture() ||
            bound->Realise() != entry.view->Realise())
        {
            ClearOwnFramebuffer(entry);
            continue;
        }
        const ClearMaskOverride masks;
        ClearFramebuffer(aFramebuffer, entry.isDepth, entry.values.data());
    }
}

void PendingClears::DropUnreachable()
{
    std::erase_if(myEntries, [](const Entry& anEntry)
                  { return anEntry.view.use_count() == 1 && anEntry.view->GetTexture().use_count() == 1; });
}

bool PendingClears::ClearInWindow(const Entry& anEntry)
{
    const Texture2D* texture = anEntry.view->GetTexture().get();
    if (texture != (anEntry.isDepth ? myWindowDepth : myWindowColour))
    {
        return false;
    }
    const ClearMaskOverride masks;
    // A plain view's clear stores its values as they are, as it would in the texture.
    const bool isEncoded = anEntry.isDepth || IsSrgb(anEntry.view->GetFormat());
    if (!isEncoded)
    {
        glDisable(GL_FRAMEBUFFER_SRGB);
    }
    ClearFramebuffer(0, anEntry.isDepth, anEntry.values.data());
    if (!isEncoded)
    {
        glEnable(GL_FRAMEBUFFER_SRGB);
    }
    return true;
}

void PendingClears::ClearOwnFramebuffer(const Entry& anEntry)
{
    const GLuint name = anEntry.view->Realise();
    if (name == 0 || ClearInWindow(anEntry))
    {
        return;
    }
    const ClearMaskOverride masks;
    if (anEntry.isDepth)
    {
        glNamedFramebufferTexture(myFramebuffer, GL_COLOR_ATTACHMENT0, 0, 0);
        glNamedFramebufferDrawBuffer(myFramebuffer, GL_NONE);
        glNamedFramebufferTexture(myFramebuffer, GL_DEPTH_ATTACHMENT, name, 0);
        glClearNamedFramebufferfv(myFramebuffer, GL_DEPTH, 0, anEntry.values.data());
    }
    else
    {
        glNamedFramebufferTexture(myFramebuffer, GL_DEPTH_ATTACHMENT, 0, 0);
        glNamedFramebufferTexture(myFramebuffer, GL_COLOR_ATTACHMENT0, name, 0);
        glNamedFramebufferDrawBuffer(myFramebuffer, GL_COLOR_ATTACHMENT0);
        glClearNamedFramebufferfv(myFramebuffer, GL_COLOR, 0, anEntry.values.data());
    }
    // Nothing stays attached, so no texture is held by the framebuffer after its clear.
    glNamedFramebufferTexture(myFramebuffer, anEntry.isDepth ? GL_DEPTH_ATTACHMENT : GL_COLOR_ATTACHMENT0, 0,
                              0);
}
} // namespace Platform::Gfx
