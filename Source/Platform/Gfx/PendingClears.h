// Clears asked for and not yet done. A clear waits until its texture is next drawn to and is then done
// on the framebuffer the draws use: on a tiled software rasteriser a clear on a framebuffer of its own
// costs a pass over every tile, written out and read back, when the draw framebuffer is bound again.
// Whatever reads a texture (a read-back, a sample, the present) first settles its clear, so no one sees
// the texture without it. Main thread.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/Resources.h"

#include <array>
#include <memory>
#include <vector>

namespace Platform::Gfx
{
class PendingClears
{
public:
    explicit PendingClears(DeviceCorePtr aCore);
    ~PendingClears();
    PendingClears(const PendingClears&) = delete;
    PendingClears& operator=(const PendingClears&) = delete;

    // A later clear of the same texture replaces the earlier one, which nothing saw.
    void AddColor(const RenderTargetViewPtr& aView, const float someColor[4]);
    void AddDepth(const DepthStencilViewPtr& aView, float aDepth);

    bool IsEmpty() const { return myEntries.empty(); }
    bool HasClear(const Texture2D* aTexture) const;
    // The textures whose pixels are in the window's framebuffer for now: their clears are done there.
    void SetWindowResident(const Texture2D* aColour, const Texture2D* aDepth);
    // Does the texture's clear now, on a framebuffer of its own.
    void Settle(const Texture2D* aTexture);
    void SettleAll();
    // Does the clears of the targets attached to aFramebuffer on it. A clear asked through another view
    // of a bound texture is settled on its own, so it keeps that view's encoding.
    void ApplyToBound(unsigned int aFramebuffer, const RenderTargetViewPtr& aTarget,
                      const DepthStencilViewPtr& aDepth);
    // Forgets clears of textures no one else holds any more: no one can see them.
    void DropUnreachable();

private:
    struct Entry
    {
        std::shared_ptr<TextureView> view;
        bool isDepth = false;
        std::array<float, 4> values{};
    };

    void Add(Entry anEntry);
    void ClearOwnFramebuffer(const Entry& anEntry);
    // False when the entry's texture is not in the window.
    bool ClearInWindow(const Entry& anEntry);

    DeviceCorePtr myCore;
    std::vector<Entry> myEntries;
    unsigned int myFramebuffer = 0;
    const Texture2D* myWindowColour = nullptr;
    const Texture2D* myWindowDepth = nullptr;
};

using PendingClearsPtr = std::shared_ptr<PendingClears>;
} // namespace Platform::Gfx
