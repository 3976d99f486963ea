// Test sounds made in memory: a 16-bit PCM WAV file of a sine tone, so no sound file is committed; and
// what SDL's disk audio driver wrote of them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace QelTest
{
struct ToneSpec
{
    int mySampleRate = 44100;
    double mySeconds = 1.0;
    double myFrequency = 440.0;
    double myAmplitude = 0.5; // of full scale
};

// The bytes of a mono WAV file holding the tone.
std::string MakeToneWav(const ToneSpec& aSpec);

// The non-silent 16-bit samples the disk audio driver has written to aFile so far.
std::size_t CountHeardSamples(const std::filesystem::path& aFile);
} // namespace QelTest
