// A video file played into a texture the sprite drawer can show, optionally with its sound sent to a
// wave-out ring. Init opens the file and decodes the first picture, whose size fixes the texture's
// (each side the smallest power of two not below the picture's); Play starts it; Update, called once a
// game frame, decodes and uploads one picture for every whole frame interval of time accumulated.
//
// State: 0 not opened, 1 ready, 2 the end of the stream has been reached at least once (kept while a
// looping video goes on from its start). A file that cannot be opened or decoded leaves state 0 and
// no texture, so nothing is drawn.
//
// Owns its player and texture. Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/graphics/Texture.h"
#include "vek/video/VideoPlayer.h"
#include "vek/video/VideoTexture.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Qel
{
enum VideoState : int
{
    VIDEO_STATE_NOT_OPENED = 0,
    VIDEO_STATE_READY = 1,
    VIDEO_STATE_ENDED = 2,
};

class Video
{
public:
    // The picture texture on the engine's graphics device, sound to the system's output.
    Video();
    // Textures and sound devices from the given makers (an empty one keeps the default).
    explicit Video(impl::VideoTextureFactory aTextureFactory, impl::WaveOutDeviceFactory aDeviceFactory = {});
    ~Video();
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;

    // False when a player exists already (even from a failed Init) or the file gives no picture.
    bool Init(const char* aPath, bool aWithAudio);
    void Play(bool aLoop);
    void Update(float aDt);

    // What a sprite draws: the picture texture's view; null while there is no texture.
    const Texture* GetTextureRef() const { return myTextureRef.get(); }
    int GetState() const { return myState; }
    std::uint32_t GetFrameWidth() const { return myFrameWidth; }
    std::uint32_t GetFrameHeight() const { return myFrameHeight; }
    std::uint32_t GetTextureWidth() const { return myTexWidth; }
    std::uint32_t GetTextureHeight() const { return myTexHeight; }
    float GetElapsed() const { return myElapsed; }
    bool IsPlaying() const { return myPlaying; }
    bool IsLooping() const { return myLoop; }
    const VideoPlayer* GetPlayer() const { return myPlayer.get(); }
    const impl::VideoTexture* GetPictureTexture() const { return myTexture.get(); }

private:
    impl::VideoTextureFactory myTextureFactory;
    impl::WaveOutDeviceFactory myDeviceFactory;
    std::unique_ptr<Texture> myTextureRef;
    std::unique_ptr<VideoPlayer> myPlayer;
    std::unique_ptr<impl::VideoTexture> myTexture;
    std::uint32_t myFrameWidth = 0;
    std::uint32_t myFrameHeight = 0;
    float myElapsed = 0.0f;
    int myState = VIDEO_STATE_NOT_OPENED;
    bool myPlaying = false;
    bool myLoop = false;
    std::uint32_t myTexWidth = 0;
    std::uint32_t myTexHeight = 0;
};

// A texture's size in pixels from its view's resource; (0, 0) for a texture with no view.
Vector2<std::uint32_t> GetTextureSize(const Texture& aTexture);

namespace impl
{
// The smallest power of two not below aSize; 0 for 0 and for sizes beyond 2^31.
std::uint32_t TextureSideFor(std::uint32_t aSize);
// Seconds per frame, or nothing for a rate that is not positive and finite.
std::optional<double> FrameStep(double aFramesPerSecond);
} // namespace impl
} // namespace Qel
