// Points the executable folder at a temporary folder whose "data/Audio/" holds the test tones, so
// Qel::Audio resolves its asset paths there. The process-wide AudioOut outlives every test, so each
// test loads files of its own name.
#pragma once

#include "Support/ExecutableFolderFixture.h"
#include "Support/ToneWave.h"
#include "vek/audio/Audio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QelTest
{
class AudioFixture : public ExecutableFolderFixture
{
protected:
    // Writes data/Audio/<aName>; returns the relative asset path "Audio/<aName>".
    std::string Tone(const std::string& aName, double aSeconds = 5.0) const
    {
        ToneSpec spec;
        spec.mySeconds = aSeconds;
        myFolder.WriteFile("data/Audio/" + aName, MakeToneWav(spec));
        return "Audio/" + aName;
    }

    static Qel::AudioOut& Out() { return Qel::impl::GetOrCreateAudioOut(); }

    static std::vector<std::uint32_t> Channels(const Qel::Audio& aAudio)
    {
        return Out().GetSampleChannels(static_cast<std::uint32_t>(aAudio.GetSample()));
    }

    static float VolumeOf(std::uint32_t aChannel)
    {
        float volume = -1.0f;
        Out().GetMixer().GetChannelVolume(aChannel, volume);
        return volume;
    }

    static float PanOf(std::uint32_t aChannel)
    {
        float pan = -2.0f;
        Out().GetMixer().GetChannelPan(aChannel, pan);
        return pan;
    }
};
} // namespace QelTest
