// Shared pieces of the video tests: generated clips cached per test process, a picture texture that
// records its uploads, and a sound device that records what reaches it.
#pragma once

#include "Platform/WaveOut/WaveOutDevice.h"
#include "Support/TempDir.h"
#include "Support/VideoClip.h"
#include "vek/video/Video.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace QelVideoTest
{
// Makes each clip once per process; the folder goes when the process ends. A clip is known by its name
// and every setting it is made with, so two tests that give one name to different clips each get their own.
inline std::string Clip(const std::string& aName, const QelTest::ClipSpec& aSpec)
{
    static QelTest::TempDir theFolder;
    static std::map<std::string, std::string> theClips;
    const std::string rate = aSpec.myRate.find('/') == std::string::npos
                                 ? aSpec.myRate
                                 : aSpec.myRate.substr(0, aSpec.myRate.find('/')) + "over" +
                                       aSpec.myRate.substr(aSpec.myRate.find('/') + 1);
    const std::string key = std::to_string(aSpec.myWidth) + "x" + std::to_string(aSpec.myHeight) + "_" +
                            rate + "fps_" + std::to_string(aSpec.myFrameCount) + "_" +
                            std::to_string(static_cast<int>(aSpec.myCodec)) + (aSpec.myWithSound ? "s" : "") +
                            (aSpec.myTestPattern ? "p" : "") + "_" + aName;
    auto found = theClips.find(key);
    if (found != theClips.end())
    {
        return found->second;
    }
    const std::filesystem::path path = theFolder.GetPath() / key;
    EXPECT_TRUE(QelTest::MakeVideoClip(path, aSpec)) << "ffmpeg could not make " << aName;
    return theClips.emplace(key, path.string()).first->second;
}

// 64x48, 10 frames per second, 20 exact pictures.
inline std::string ExactClip()
{
    return Clip("exact.nut", QelTest::ClipSpec{});
}

inline std::uint8_t Red(std::uint32_t aTexel)
{
    return static_cast<std::uint8_t>(aTexel & 0xFF);
}
inline std::uint8_t Green(std::uint32_t aTexel)
{
    return static_cast<std::uint8_t>((aTexel >> 8) & 0xFF);
}
inline std::uint8_t Blue(std::uint32_t aTexel)
{
    return static_cast<std::uint8_t>((aTexel >> 16) & 0xFF);
}
inline std::uint8_t Alpha(std::uint32_t aTexel)
{
    return static_cast<std::uint8_t>(aTexel >> 24);
}

// What the recording texture saw; shared so the test keeps it after the video owns the texture.
struct TextureLog
{
    std::uint32_t myWidth = 0;
    std::uint32_t myHeight = 0;
    int myCreations = 0;
    int myMaps = 0;
    bool myMapFails = false;
    // The red value of the top-left texel after each upload: the picture's index mark.
    std::vector<std::uint8_t> myUploadedReds;
    std::vector<std::uint32_t> myTexels;
};

// Starts with every texel set, so an upload that leaves padding untouched shows.
class RecordingTexture : public Qel::impl::VideoTexture
{
public:
    explicit RecordingTexture(std::shared_ptr<TextureLog> aLog) : myLog(std::move(aLog))
    {
        myLog->myTexels.assign(static_cast<std::size_t>(myLog->myWidth) * myLog->myHeight, 0xFFFFFFFFu);
    }

    std::uint32_t* Map() override
    {
        ++myLog->myMaps;
        return myLog->myMapFails ? nullptr : myLog->myTexels.data();
    }
    void Unmap() override { myLog->myUploadedReds.push_back(Red(myLog->myTexels.front())); }

private:
    std::shared_ptr<TextureLog> myLog;
};

inline Qel::impl::VideoTextureFactory RecordInto(const std::shared_ptr<TextureLog>& aLog)
{
    return [aLog](std::uint32_t aWidth, std::uint32_t aHeight) -> std::unique_ptr<Qel::impl::VideoTexture>
    {
        aLog->myWidth = aWidth;
        aLog->myHeight = aHeight;
        ++aLog->myCreations;
        return std::make_unique<RecordingTexture>(aLog);
    };
}

struct SoundLog
{
    Platform::WaveOut::PcmFormat myFormat;
    int myOpens = 0;
    int myResets = 0;
    std::vector<std::size_t> myBlockSizes;
    std::vector<std::uint8_t> myBytes;
};

class RecordingDevice : public Platform::WaveOut::Device
{
public:
    explicit RecordingDevice(std::shared_ptr<SoundLog> aLog) : myLog(std::move(aLog)) {}

    bool IsOpen() const override { return true; }
    void Write(const std::uint8_t* someBytes, std::size_t aSize) override
    {
        myLog->myBlockSizes.push_back(aSize);
        myLog->myBytes.insert(myLog->myBytes.end(), someBytes, someBytes + aSize);
    }
    void Reset() override { ++myLog->myResets; }

private:
    std::shared_ptr<SoundLog> myLog;
};

inline Qel::impl::WaveOutDeviceFactory RecordSoundInto(const std::shared_ptr<SoundLog>& aLog)
{
    return [aLog](const Platform::WaveOut::PcmFormat& aFormat) -> Platform::WaveOut::DevicePtr
    {
        aLog->myFormat = aFormat;
        ++aLog->myOpens;
        return std::make_unique<RecordingDevice>(aLog);
    };
}
} // namespace QelVideoTest
