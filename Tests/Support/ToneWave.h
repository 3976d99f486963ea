// Test sounds made in memory: a 16-bit PCM WAV file of a sine tone, so no sound file is committed.
#pragma once

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
} // namespace QelTest
