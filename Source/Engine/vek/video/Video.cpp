#include "vek/video/Video.h"

#include "vek/video/GfxVideoTexture.h"

#include <bit>
#include <cmath>
#include <iostream>
#include <utility>

namespace Qel
{
namespace impl
{
std::uint32_t TextureSideFor(std::uint32_t aSize)
{
    if (aSize == 0 || aSize > (1u << 31))
    {
        return 0;
    }
    return std::bit_ceil(aSize);
}

std::optional<double> FrameStep(double aFramesPerSecond)
{
    if (!std::isfinite(aFramesPerSecond) || aFramesPerSecond <= 0.0)
    {
        return std::nullopt;
    }
    const double step = 1.0 / aFramesPerSecond;
    // A rate so high its step rounds to nothing would never let the catch-up end.
    if (!(step > 0.0) || static_cast<float>(step) <= 0.0f)
    {
        return std::nullopt;
    }
    return step;
}

} // namespace impl

Video::Video() : Video(impl::VideoTextureFactory{})
{
}

Video::Video(impl::VideoTextureFactory aTextureFactory, impl::WaveOutDeviceFactory aDeviceFactory)
    : myTextureFactory(aTextureFactory ? std::move(aTextureFactory)
                                       : impl::VideoTextureFactory(&impl::GfxVideoTexture::Create)),
      myDeviceFactory(std::move(aDeviceFactory))
{
}

Video::~Video()
{
    myTextureRef.reset();
    myTexture.reset();
    if (myPlayer)
    {
        myPlayer->Close();
    }
}

bool Video::Init(const char* aPath, bool aWithAudio)
{
    if (myPlayer)
    {
        return false;
    }
    myPlayer = std::make_unique<VideoPlayer>(myDeviceFactory);
    const int opened = myPlayer->Open(aPath, aWithAudio);
    if (opened != VIDEO_OPEN_OK)
    {
        std::cout << "[Video] Cannot " << (opened == VIDEO_OPEN_UNREADABLE ? "read " : "open ")
                  << (aPath != nullptr ? aPath : "(no path)") << std::endl;
        return false;
    }
    myPlayer->DecodeFirstFrame();
    if (!myPlayer->HasPicture())
    {
        std::cout << "[Video] No picture could be decoded from " << aPath << std::endl;
        return false;
    }
    myFrameWidth = myPlayer->GetPictureWidth();
    myFrameHeight = myPlayer->GetPictureHeight();
    myTexWidth = impl::TextureSideFor(myFrameWidth);
    myTexHeight = impl::TextureSideFor(myFrameHeight);
    myState = VIDEO_STATE_READY;
    if (!myTexture && myTexWidth != 0 && myTexHeight != 0)
    {
        myTexture = myTextureFactory(myTexWidth, myTexHeight);
        if (myTexture && myTexture->GetView())
        {
            myTextureRef = std::make_unique<Texture>();
            myTextureRef->myView = myTexture->GetView();
        }
    }
    return true;
}

Vector2<std::uint32_t> GetTextureSize(const Texture& aTexture)
{
    if (aTexture.myView == nullptr || aTexture.myView->GetTexture() == nullptr)
    {
        return {0, 0};
    }
    const Platform::Gfx::Texture2DDesc& desc = aTexture.myView->GetTexture()->GetDesc();
    return {desc.width, desc.height};
}

void Video::Play(bool aLoop)
{
    myPlaying = true;
    myLoop = aLoop;
}

void Video::Update(float aDt)
{
    if (!myPlaying || !std::isfinite(aDt))
    {
        return;
    }
    myElapsed += aDt;
    if (!myPlayer)
    {
        return;
    }
    const std::optional<double> step = impl::FrameStep(myPlayer->GetFrameRate());
    if (!step)
    {
        return;
    }
    const float stepSeconds = static_cast<float>(*step);
    while (static_cast<double>(myElapsed) >= *step)
    {
        if (myTexture)
        {
            if (myPlayer->DecodeFrame() < 0)
            {
                myState = VIDEO_STATE_ENDED;
                if (myLoop)
                {
                    myPlaying = true;
                    myPlayer->Rewind();
                }
            }
            std::uint32_t* texels = myTexture->Map();
            if (texels == nullptr)
            {
                break;
            }
            myPlayer->CopyFrameToTexture(texels, myTexWidth, myTexHeight);
            myTexture->Unmap();
        }
        const float before = myElapsed;
        myElapsed -= stepSeconds;
        // So much time piled up that a step no longer changes it: start afresh rather than spin.
        if (!(myElapsed < before))
        {
            myElapsed = 0.0f;
        }
    }
}
} // namespace Qel
